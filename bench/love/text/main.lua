-- Text scene (peer): the 640x480 window filled with 8x8 glyphs at scale S
-- (80x60 glyphs at 1, 40x30 at 2), one print per line, with an image font
-- holding the same glyph pixels as the interpreter's built-in font.
--   love text S [budget_ms [fixed_frames]]
-- One warm-up frame, then frames until budget_ms have passed (or exactly
-- fixed_frames frames); prints the measured frame rate.
function love.run()
  local args = love.arg.parseGameArguments(arg)
  local s = tonumber(args[1]) or 1
  local budget = (tonumber(args[2]) or 1000) / 1000
  local fixed = tonumber(args[3]) or 0

  local g = love.graphics
  local glyphs = {}
  for c = 32, 126 do glyphs[#glyphs + 1] = string.char(c) end
  local font = g.newImageFont("font_love.png", table.concat(glyphs))
  font:setFilter("nearest", "nearest")
  g.setFont(font)
  local cols, rows = 640 / (8 * s), 480 / (8 * s)
  local chars = {}
  for k = 0, 2 * 95 + cols - 1 do chars[#chars + 1] = string.char(32 + k % 95) end
  local pattern = table.concat(chars)
  local print, sub = g.print, string.sub

  local function frame(f)
    g.origin()
    g.clear(0, 0, 0, 1)
    g.setColor(1, 1, 1, 1)
    for r = 0, rows - 1 do
      local first = (r * 7 + f) % 95 + 1
      print(sub(pattern, first, first + cols - 1), 0, r * 8 * s, 0, s, s)
    end
    g.present()
  end

  return function()
    frame(0)
    local start = love.timer.getTime()
    local frames, elapsed = 0, 0
    repeat
      frames = frames + 1
      frame(frames)
      elapsed = love.timer.getTime() - start
    until (fixed > 0 and frames >= fixed) or (fixed <= 0 and elapsed >= budget)
    io.write(string.format("RESULT fps %.3f frames %d ms %d\n", frames / math.max(elapsed, 0.001), frames,
                           math.floor(elapsed * 1000 + 0.5)))
    io.flush()
    return 0
  end
end
