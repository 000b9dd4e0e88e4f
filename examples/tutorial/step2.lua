-- Tutorial step 2: drawing and moving. A ball flies around and bounces off
-- the edges, at one frame per frame period. Escape quits.
local W, H = 640, 480
local window = openwindow("Tutorial: step 2", -1, -1, W, H)
setactivewindow(window)
setframetimer(60)
backcolor(12, 14, 32, 255)

local keys = require("vorlune.keys")  -- scancodes by name

-- Shows the frame, waits out the frame period and starts the next one at
-- once: one frame per period, about 62 a second for setframetimer(60).
-- (sync() alone shows two frames per period.)
local function nextFrame()
  redraw()
  local left = timeleft()
  if left > 0 then
    wait(left)
    timeleft()
  end
end

local R = 6                                  -- ball radius
local ball = { x = 320, y = 300, dx = 3, dy = -4 }

while true do
  if getkey() == keys.escape then break end

  -- Update: move, then turn round at the edges.
  ball.x, ball.y = ball.x + ball.dx, ball.y + ball.dy
  if (ball.x < R and ball.dx < 0) or (ball.x > W - R and ball.dx > 0) then ball.dx = -ball.dx end
  if (ball.y < R and ball.dy < 0) or (ball.y > H - R and ball.dy > 0) then ball.dy = -ball.dy end

  -- Draw: clear, then everything of this frame.
  cls()
  color(255, 230, 120, 255)
  fillcircle(ball.x, ball.y, R)
  color(150, 160, 200, 255)
  drawtext("Escape: quit", 10, 10)
  nextFrame()
end

closewindow(window)
