-- Sprite scene (peer): N rotated and scaled copies of one 32x32 image per
-- frame, drawn with love.graphics.draw about their centres.
--   love sprites N [budget_ms [fixed_frames]]
-- One warm-up frame, then frames until budget_ms have passed (or exactly
-- fixed_frames frames); prints the measured frame rate.
function love.run()
  local args = love.arg.parseGameArguments(arg)
  local n = tonumber(args[1]) or 1000
  local budget = (tonumber(args[2]) or 1000) / 1000
  local fixed = tonumber(args[3]) or 0

  local g, rad = love.graphics, math.rad
  local sprite = g.newImage("sprite.png")
  sprite:setFilter("nearest", "nearest")  -- SDL's default scaling
  local draw = g.draw

  local function frame(f, n)
    g.origin()
    g.clear(0, 0, 0, 1)
    for i = 0, n - 1 do
      local scale = 0.75 + (i % 5) * 0.125
      local half = 16 * scale
      draw(sprite, (i * 37 + f * 3) % 608 + half, (i * 53 + f * 2) % 448 + half, rad((i * 7 + f * 5) % 360),
           scale, scale, 16, 16)
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
