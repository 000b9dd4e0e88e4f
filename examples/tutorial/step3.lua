-- Tutorial step 3: input. The arrow keys move a paddle. The ball does not
-- bounce off it yet (that is step 4): it falls through and comes back from
-- the top. Escape quits.
local W, H = 640, 480
local window = openwindow("Tutorial: step 3", -1, -1, W, H)
setactivewindow(window)
setframetimer(60)
backcolor(12, 14, 32, 255)

local keys = require("vorlune.keys")  -- scancodes by name

local function nextFrame()                   -- one frame per frame period (step 2)
  redraw()
  local left = timeleft()
  if left > 0 then
    wait(left)
    timeleft()
  end
end

local R = 6
local ball = { x = 320, y = 100, dx = 3, dy = 4 }
local PADDLE_W, PADDLE_H, PADDLE_Y = 80, 12, 440
local paddleX = 280

while true do
  if getkey() == keys.escape then break end
  -- keystate is true while a key is held: the way to read movement keys.
  if keystate(keys.left) then paddleX = math.max(0, paddleX - 8) end
  if keystate(keys.right) then paddleX = math.min(W - PADDLE_W, paddleX + 8) end

  ball.x, ball.y = ball.x + ball.dx, ball.y + ball.dy
  if (ball.x < R and ball.dx < 0) or (ball.x > W - R and ball.dx > 0) then ball.dx = -ball.dx end
  if ball.y < R and ball.dy < 0 then ball.dy = -ball.dy end
  if ball.y > H + R then ball.x, ball.y = 320, 100 end  -- missed: start again

  cls()
  color(200, 210, 240, 255)
  fillrectangle(paddleX, PADDLE_Y, PADDLE_W, PADDLE_H)
  color(255, 230, 120, 255)
  fillcircle(ball.x, ball.y, R)
  color(150, 160, 200, 255)
  drawtext("Left/Right: move   Escape: quit", 10, 10)
  nextFrame()
end

closewindow(window)
