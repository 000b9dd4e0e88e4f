-- Primitives scene (peer): N filled circles of radius 20 and N one-pixel
-- lines per frame.
--   love primitives N [budget_ms [fixed_frames]]
-- One warm-up frame, then frames until budget_ms have passed (or exactly
-- fixed_frames frames); prints the measured frame rate.
function love.run()
  local args = love.arg.parseGameArguments(arg)
  local n = tonumber(args[1]) or 100
  local budget = (tonumber(args[2]) or 1000) / 1000
  local fixed = tonumber(args[3]) or 0

  local g = love.graphics
  g.setLineStyle("rough")
  g.setLineWidth(1)
  local circle, line, setColor = g.circle, g.line, g.setColor

  local function frame(f, n)
    g.origin()
    g.clear(0, 0, 0, 1)
    setColor(1, 200 / 255, 0, 1)
    for i = 0, n - 1 do
      circle("fill", (i * 37 + f) % 600 + 20, (i * 53) % 440 + 20, 20)
    end
    setColor(0, 200 / 255, 1, 1)
    for i = 0, n - 1 do
      line((i * 29 + f) % 640 + 0.5, (i * 31) % 480 + 0.5, (i * 17) % 640 + 0.5, (i * 43 + f) % 480 + 0.5)
    end
    g.present()
  end

  return function()
    frame(0, math.min(n, 1000))  -- warm-up: readies textures and shaders
    local start = love.timer.getTime()
    local frames, elapsed = 0, 0
    repeat
      frames = frames + 1
      frame(frames, n)
      elapsed = love.timer.getTime() - start
    until (fixed > 0 and frames >= fixed) or (fixed <= 0 and elapsed >= budget)
    io.write(string.format("RESULT fps %.3f frames %d ms %d\n", frames / math.max(elapsed, 0.001), frames,
                           math.floor(elapsed * 1000 + 0.5)))
    io.flush()
    return 0
  end
end
