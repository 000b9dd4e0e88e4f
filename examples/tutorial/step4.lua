-- Tutorial step 4: collisions. The ball bounces off the paddle and knocks
-- bricks out of a wall; every brick scores 10. Escape quits.
local W, H = 640, 480
local window = openwindow("Tutorial: step 4", -1, -1, W, H)
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
local ball = { x = 320, y = 300, dx = 3, dy = 4 }
local PADDLE_W, PADDLE_H, PADDLE_Y = 80, 12, 440
local paddleX = 280
local score = 0

-- The wall: 10 x 4 bricks, each a table with its position.
local BRICK_W, BRICK_H = 58, 18
local bricks = {}
for row = 1, 4 do
  for col = 1, 10 do
    bricks[#bricks + 1] = { x = (col - 1) * 64 + 3, y = 40 + row * 24 }
  end
end

while true do
  if getkey() == keys.escape then break end
  if keystate(keys.left) then paddleX = math.max(0, paddleX - 8) end
  if keystate(keys.right) then paddleX = math.min(W - PADDLE_W, paddleX + 8) end

  -- Bricks: sidecoll says whether the ball's box runs into a brick with this
  -- step, and on which side, so we know which way to bounce.
  for i, b in ipairs(bricks) do
    local side = sidecoll(ball.x - R, ball.y - R, 2 * R, 2 * R, ball.dx, ball.dy, b.x, b.y, BRICK_W, BRICK_H)
    if side ~= "none" then
      if side == "left" or side == "right" then ball.dx = -ball.dx else ball.dy = -ball.dy end
      table.remove(bricks, i)
      score = score + 10
      break
    end
  end

  ball.x, ball.y = ball.x + ball.dx, ball.y + ball.dy
  if (ball.x < R and ball.dx < 0) or (ball.x > W - R and ball.dx > 0) then ball.dx = -ball.dx end
  if ball.y < R and ball.dy < 0 then ball.dy = -ball.dy end
  -- The paddle: circletoboxcoll tests the round ball against the paddle's box.
  if ball.dy > 0 and circletoboxcoll(ball.x, ball.y, R, paddleX, PADDLE_Y, PADDLE_W, PADDLE_H) then
    ball.dy = -ball.dy
  end
  if ball.y > H + R then ball.x, ball.y, ball.dy = 320, 300, 4 end

  cls()
  color(90, 200, 110, 255)
  for _, b in ipairs(bricks) do fillrectangle(b.x, b.y, BRICK_W, BRICK_H) end
  color(200, 210, 240, 255)
  fillrectangle(paddleX, PADDLE_Y, PADDLE_W, PADDLE_H)
  color(255, 230, 120, 255)
  fillcircle(ball.x, ball.y, R)
  color(150, 160, 200, 255)
  drawtext("Score " .. score .. "   Left/Right: move   Escape: quit", 10, 10)
  nextFrame()
end

closewindow(window)
