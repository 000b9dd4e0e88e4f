-- sound.lua: a ball bounces around a window; every wall it hits plays a blip,
-- a music loop plays underneath. Space pauses and resumes the music, Escape
-- fades it out and ends. The sounds come from tools/make_sounds.py.
local keys = require("vorlune.keys")  -- scancodes by name
local window = openwindow("Vorlune sound", -1, -1, 320, 240)
setactivewindow(window)
setframetimer(60)

local bounce = loadsound("assets/bounce.wav")
local music = loadmusic("assets/music.wav")
playmusic(music, 64, -1)

local x, y, dx, dy, radius = 160, 120, 3, 2, 12
local paused = false
local flash = 0   -- frames left of the wall flash

while true do
  x, y = x + dx, y + dy
  local hit = false
  if x < radius or x > 320 - radius then dx = -dx; x = x + 2 * dx; hit = true end
  if y < radius or y > 240 - radius then dy = -dy; y = y + 2 * dy; hit = true end
  if hit then
    playsound(bounce, 96, -1, 0)   -- first free channel, played once
    flash = 6
  end

  cls()
  if flash > 0 then
    color(60, 60, 90, 255)
    fillrectangle(0, 0, 320, 240)
    flash = flash - 1
  end
  color(255, 200, 40, 255)
  fillcircle(x, y, radius)
  color(200, 200, 220, 255)
  drawtext(paused and "music paused: Space resumes" or "Space: pause music", 8, 8)
  drawtext("Escape: fade out and quit", 8, 224)
  sync()

  local key = getkey()
  if key == keys.space then
    paused = not paused
    if paused then pausemusic() else resumemusic() end
  elseif key == keys.escape then
    break
  end
end

fademusic(500)
wait(500)
freesound(bounce)
freemusic(music)
