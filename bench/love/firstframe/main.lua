-- Start-up scene (peer): one frame in a 640x480 window, presented, then end.
function love.run()
  return function()
    local g = love.graphics
    g.origin()
    g.clear(0, 0, 0, 1)
    g.setColor(1, 200 / 255, 0, 1)
    g.rectangle("fill", 100, 100, 200, 150)
    g.present()
    return 0
  end
end
