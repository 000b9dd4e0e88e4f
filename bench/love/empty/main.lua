-- Start-up scene (peer): a game that ends as soon as it runs.
function love.run()
  return function() return 0 end
end
