function love.conf(t)
  t.identity = "vorlune-bench"
  t.window = nil  -- like the empty script: no window
end
