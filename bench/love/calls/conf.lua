function love.conf(t)
  t.identity = "vorlune-bench"
  t.window = nil  -- no window: the loop only calls functions
end
