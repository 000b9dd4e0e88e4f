-- animation.lua: five ships play the four frames of assets/ship.png (their engine
-- flames) in different ways, all advanced by updateanimations once a pass.
--   Space   play the bottom ship's run three more times
--   H       halt it (a stopped animation is not drawn)
--   Up/Down make the big ship's flame faster or slower
-- Ends after twenty seconds, on Escape or when the window is closed.

local W, H = 640, 480
local window = openwindow("Animations: Space, H, Up/Down, Escape", -1, -1, W, H)
setactivewindow(window)
setframetimer(60)
backcolor(10, 14, 36, 255)

local ship = loadsprite("assets/ship.png")  -- 128 x 32: four 32 x 32 frames in a row
local FRAME = 32

-- createanimation(sprite, width, height, startframe, endframe, timer, direction, loop)
local speed = 90
local big = createanimation(ship, FRAME, FRAME, 1, 4, speed, 1, -1)  -- 1 2 3 4 1 2 ... for ever
local reverse = createanimation(ship, FRAME, FRAME, 1, 4, 150, -1, -1)  -- 4 3 2 1 4 ...
local skipping = createanimation(ship, FRAME, FRAME, 1, 4, 150, 2, -1)  -- 1 3 1 3: a step of 2 skips frames
local still = createanimation(ship, FRAME, FRAME, 1, 4, 150, 0, -1)  -- direction 0: frame 0, the first cell
local counted = createanimation(ship, FRAME, FRAME, 1, 4, 200, 1, 2)  -- the run three times, then stopped

local keys = require("vorlune.keys")  -- scancodes by name

local function label(text, x, y)
  color(200, 210, 240, 255)
  drawtext(text, x - math.floor(textwidth(text) / 2), y)
end

local start = timerticks()
local angle = 0

while timerticks() - start < 20000 do
  local key = getkey()
  if key == keys.escape then break end
  if key == keys.space then setanimationloop(counted, 2) end
  if key == keys.h then haltanimation(counted) end
  if key == keys.up then speed = math.max(10, speed - 20) setanimationspeed(big, speed) end
  if key == keys.down then speed = math.min(500, speed + 20) setanimationspeed(big, speed) end

  updateanimations()
  angle = (angle + 1) % 360

  cls()
  -- The big ship, four times the frame size, turning slowly.
  drawanimation(big, W / 2 - 2 * FRAME, 90, 4, 4, angle, false, false)
  label("frame " .. framenumber(big) .. ", " .. speed .. " ms", W / 2, 240)

  drawanimation(reverse, 70, 300, 2, 2, 0, false, false)
  label("backwards: " .. framenumber(reverse), 102, 375)
  drawanimation(skipping, 230, 300, 2, 2, 0, false, false)
  label("step 2: " .. framenumber(skipping), 262, 375)
  drawanimation(still, 390, 300, 2, 2, 0, true, false)  -- upside down
  label("direction 0: " .. framenumber(still), 422, 375)

  drawanimation(counted, 520, 300, 2, 2, 0, false, true)  -- mirrored
  if animationstopped(counted) then
    label("stopped (Space)", 552, 375)
  else
    label("playing: " .. framenumber(counted), 552, 375)
  end

  label(animationwidth(big) .. " x " .. animationheight(big) .. " frames from one sheet", W / 2, 440)
  label("Space, H, Up/Down   Escape: quit, or wait " .. math.ceil((20000 - (timerticks() - start)) / 1000) .. " s",
        W / 2, 16)
  sync()
end

freesprite(ship)
closewindow(window)
