-- Tutorial step 5: sound, lives and the end of a game. Every bounce and
-- broken brick plays a sound; three missed balls end the game.
-- Space starts a new game after that, Escape quits.
local W, H = 640, 480
local window = openwindow("Tutorial: step 5", -1, -1, W, H)
setactivewindow(window)
setframetimer(60)
backcolor(12, 14, 32, 255)

local keys = require("vorlune.keys")  -- scancodes by name

-- Where the sounds are, relative to this script's folder (examples/assets).
local ASSETS = "../assets/"
local bounce = loadsound(ASSETS .. "bounce.wav")
local crack = loadsound(ASSETS .. "brick.wav")
local lost = loadsound(ASSETS .. "lose.wav")

local function nextFrame()                   -- one frame per frame period (step 2)
  redraw()
  local left = timeleft()
  if left > 0 then
    wait(left)
    timeleft()
  end
end

local R = 6
local PADDLE_W, PADDLE_H, PADDLE_Y = 80, 12, 440
local BRICK_W, BRICK_H = 58, 18
local ball, paddleX, bricks, score, lives

local function newGame()
  ball = { x = 320, y = 300, dx = 3, dy = 4 }
  paddleX, score, lives = 280, 0, 3
  bricks = {}
  for row = 1, 4 do
    for col = 1, 10 do
      bricks[#bricks + 1] = { x = (col - 1) * 64 + 3, y = 40 + row * 24 }
    end
  end
end

newGame()
while true do
  local key = getkey()
  if key == keys.escape then break end
  if lives == 0 and key == keys.space then newGame() end
  if keystate(keys.left) then paddleX = math.max(0, paddleX - 8) end
  if keystate(keys.right) then paddleX = math.min(W - PADDLE_W, paddleX + 8) end

  if lives > 0 then
    for i, b in ipairs(bricks) do
      local side = sidecoll(ball.x - R, ball.y - R, 2 * R, 2 * R, ball.dx, ball.dy, b.x, b.y, BRICK_W, BRICK_H)
      if side ~= "none" then
        if side == "left" or side == "right" then ball.dx = -ball.dx else ball.dy = -ball.dy end
        table.remove(bricks, i)
        score = score + 10
        playsound(crack, 100, -1, 0)         -- volume 0..128, first free channel, once
        break
      end
    end

    ball.x, ball.y = ball.x + ball.dx, ball.y + ball.dy
    if (ball.x < R and ball.dx < 0) or (ball.x > W - R and ball.dx > 0) then
      ball.dx = -ball.dx
      playsound(bounce, 100, -1, 0)
    end
    if ball.y < R and ball.dy < 0 then
      ball.dy = -ball.dy
      playsound(bounce, 100, -1, 0)
    end
    if ball.dy > 0 and circletoboxcoll(ball.x, ball.y, R, paddleX, PADDLE_Y, PADDLE_W, PADDLE_H) then
      ball.dy = -ball.dy
      playsound(bounce, 100, -1, 0)
    end
    if ball.y > H + R then                   -- missed: one life less
      lives = lives - 1
      playsound(lost, 100, -1, 0)
      ball.x, ball.y, ball.dy = 320, 300, 4
    end
  end

  cls()
  color(90, 200, 110, 255)
  for _, b in ipairs(bricks) do fillrectangle(b.x, b.y, BRICK_W, BRICK_H) end
  color(200, 210, 240, 255)
  fillrectangle(paddleX, PADDLE_Y, PADDLE_W, PADDLE_H)
  if lives > 0 then
    color(255, 230, 120, 255)
    fillcircle(ball.x, ball.y, R)
  else
    textsize(3)
    drawtext("GAME OVER", (W - textwidth("GAME OVER")) / 2, 220)
    textsize(1)
    drawtext("Space: play again", (W - textwidth("Space: play again")) / 2, 260)
  end
  color(150, 160, 200, 255)
  drawtext("Score " .. score .. "   Lives " .. lives .. "   Left/Right: move   Escape: quit", 10, 10)
  nextFrame()
end

freesound(bounce)
freesound(crack)
freesound(lost)
closewindow(window)
