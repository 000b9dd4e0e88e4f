function love.conf(t)
  t.identity = "vorlune-bench"
  t.window.title = "text"
  t.window.width = 640
  t.window.height = 480
  t.window.vsync = 0
end
