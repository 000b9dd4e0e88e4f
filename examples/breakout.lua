-- breakout.lua: a whole little game. Knock every brick out of the wall with
-- the ball; you have three lives, the walls come in three layouts that repeat
-- with a faster ball, and the score is drawn with a bitmap font.
--   Left/Right arrows or the mouse move the paddle, Space serves the ball,
--   Escape goes back to the title screen, and from there quits.
-- The title screen plays a game by itself (attract mode). Started as
-- `vorlune breakout.lua --demo 900` the computer plays for 900 frames and the
-- game ends (the screen says so): a way to try it without a player.
-- Pictures and sounds are in assets/, made by tools/make_*.py.

local W, H = 640, 480
local window = openwindow("Breakout", -1, -1, W, H)
setactivewindow(window)
setframetimer(60)                  -- frame period 1000 / 60 = 16 ms
backcolor(12, 14, 32, 255)

local keys = require("vorlune.keys")  -- scancodes by name

-- Assets ---------------------------------------------------------------
local chars = {}
for code = 32, 126 do chars[#chars + 1] = string.char(code) end
local fontSheet = loadsprite("assets/font16.png")     -- ASCII 32..126, 16x16 tiles
local font = createbmpfont(fontSheet, 16, 16, table.concat(chars))
local bigFont = createbmpfont(fontSheet, 16, 16, table.concat(chars))
bmpfontsize(bigFont, 3, 3)

local sounds = {
  wall = loadsound("assets/bounce.wav"), brick = loadsound("assets/brick.wav"),
  lose = loadsound("assets/lose.wav"), level = loadsound("assets/level.wav"),
}

-- "--demo N" on the command line: the computer plays N frames, then we end.
local demoFrames = tonumber(arguments():match("%-%-demo%s+(%d+)"))

-- The game world --------------------------------------------------------
-- Walls: one string a row, "#" a brick, "@" a brick that takes two hits.
local LEVELS = {
  { "##########", "##########", "##########", "##########", "##########" },
  { "@.@.@.@.@.", ".#.#.#.#.#", "#.#.#.#.#.", ".#.#.#.#.#", "#.#.#.#.#." },
  { "....@@....", "...####...", "..######..", ".########.", "@@@@@@@@@@" },
}
local ROW_COLOURS = { {230, 80, 80}, {240, 160, 60}, {230, 220, 80}, {90, 200, 110}, {80, 150, 240} }
local TOP = 40                             -- the score line is above
local BRICK_W, BRICK_H, CELL_W, CELL_H, WALL_TOP, ROWS = 58, 18, 64, 24, 70, 5
local PADDLE_W, PADDLE_H, PADDLE_Y, PADDLE_SPEED = 80, 12, 440, 8
local HALF_PADDLE = PADDLE_W / 2
local R = 6                                -- ball radius

local mode = "title"                       -- "title", "play" or "over"
local auto = true                          -- the computer moves the paddle
local bricks, ball, paddleX, aim = {}, {}, 0, 0
local score, lives, level, best = 0, 3, 1, 0
local serveAt = 0                          -- frame at which the computer serves
local frame = 0
local followMouse, lastMouseX = false, mousex()  -- the paddle follows the mouse once it moves

local function play(sound)
  if not (auto and mode == "title") then playsound(sound, 100, -1, 0) end  -- attract mode is silent
end

local function buildWall()
  bricks = {}
  local layout = LEVELS[(level - 1) % #LEVELS + 1]
  for row, line in ipairs(layout) do
    for col = 1, #line do
      local c = line:sub(col, col)
      if c ~= "." then
        bricks[#bricks + 1] = { x = (col - 1) * CELL_W + 3, y = WALL_TOP + (row - 1) * CELL_H,
                                hits = c == "@" and 2 or 1, colour = ROW_COLOURS[row] }
      end
    end
  end
end

local function serve()                     -- the ball waits on the paddle
  ball = { x = paddleX + HALF_PADDLE, y = PADDLE_Y - R - 1, dx = 0, dy = 0, held = true }
  serveAt = frame + 60
end

local function launch()
  ball.held = false
  ball.dx = rnd() < 0.5 and -3 or 3
  ball.dy = -(3 + math.min(level, 4))      -- every level a little faster
end

local function newGame(computer)
  auto, score, lives, level = computer, 0, 3, 1
  paddleX = (W - PADDLE_W) / 2
  buildWall()
  serve()
end

-- Updating --------------------------------------------------------------
local function movePaddle(key)
  local target
  if auto then
    target = ball.x + aim - HALF_PADDLE  -- aims a bit off centre, and sometimes misses
  elseif keystate(keys.left) then target, followMouse = paddleX - PADDLE_SPEED, false
  elseif keystate(keys.right) then target, followMouse = paddleX + PADDLE_SPEED, false
  else
    if mousex() ~= lastMouseX then followMouse, lastMouseX = true, mousex() end
    target = followMouse and lastMouseX - HALF_PADDLE or paddleX
  end
  paddleX = paddleX + math.max(-PADDLE_SPEED, math.min(PADDLE_SPEED, target - paddleX))
  paddleX = math.max(0, math.min(W - PADDLE_W, paddleX))
  if ball.held then
    ball.x = paddleX + HALF_PADDLE
    if (auto and frame >= serveAt) or (not auto and key == keys.space) then launch() end
  end
end

local function hitBricks()
  -- One sidecoll per brick tells whether this step runs into it, and which
  -- side, so the ball bounces the right way.
  for i, b in ipairs(bricks) do
    local side = sidecoll(ball.x - R, ball.y - R, 2 * R, 2 * R, ball.dx, ball.dy, b.x, b.y, BRICK_W, BRICK_H)
    if side ~= "none" then
      if side == "left" or side == "right" then ball.dx = -ball.dx else ball.dy = -ball.dy end
      b.hits = b.hits - 1
      if b.hits == 0 then
        table.remove(bricks, i)
        score = score + 10 * level
        createsimpleparticles(b.x + BRICK_W / 2, b.y + BRICK_H / 2, 20, 30, b.colour[1], b.colour[2], b.colour[3], 255)
      end
      play(sounds.brick)
      return
    end
  end
end

local function moveBall()
  if ball.held then return end
  -- The box around the wall of bricks: no brick can be hit outside it.
  if boxcoll(ball.x - R, ball.y - R, 2 * R, 2 * R, 0, WALL_TOP, W, ROWS * CELL_H) then hitBricks() end
  ball.x, ball.y = ball.x + ball.dx, ball.y + ball.dy
  if (ball.x < R and ball.dx < 0) or (ball.x > W - R and ball.dx > 0) then ball.dx = -ball.dx play(sounds.wall) end
  if ball.y < TOP + R and ball.dy < 0 then ball.dy = -ball.dy play(sounds.wall) end
  -- The paddle: the further from its centre the ball lands, the steeper it leaves.
  if ball.dy > 0 and circletoboxcoll(ball.x, ball.y, R, paddleX, PADDLE_Y, PADDLE_W, PADDLE_H) then
    local offset = (ball.x - (paddleX + HALF_PADDLE)) / (HALF_PADDLE)
    ball.dx = math.max(-6, math.min(6, math.floor(offset * 6 + 0.5)))
    ball.dy = -math.abs(ball.dy)
    aim = math.floor((rnd() - 0.5) * 120)  -- where the computer aims next time
    play(sounds.wall)
  end
  if ball.y > H + R then                   -- lost
    lives = lives - 1
    play(sounds.lose)
    if lives > 0 then serve() elseif auto and mode == "title" then newGame(true)
    else best = math.max(best, score) mode = "over" end
  end
  if #bricks == 0 then                     -- wall cleared: the next one, faster
    level = level + 1
    play(sounds.level)
    buildWall()
    serve()
  end
end

-- Drawing ---------------------------------------------------------------
local function centred(text, y, f)
  bmptext(text, (W - #text * bmpfontwidth(f)) / 2, y, f)
end

local function drawWorld()
  for _, b in ipairs(bricks) do
    local r, g, bl = b.colour[1], b.colour[2], b.colour[3]
    color(r, g, bl, 255)
    fillrectangle(b.x, b.y, BRICK_W, BRICK_H)
    color(255, 255, 255, b.hits == 2 and 200 or 70)   -- a bright rim: two hits needed
    rectangle(b.x, b.y, BRICK_W, BRICK_H)
  end
  updatesimpleparticles()                  -- moves and draws the brick splinters
  color(200, 210, 240, 255)
  fillrectangle(paddleX, PADDLE_Y, PADDLE_W, PADDLE_H)
  color(255, 230, 120, 255)
  fillcircle(ball.x, ball.y, R)
  color(40, 44, 80, 255)
  line(0, TOP - 1, W, TOP - 1)
  bmptext("SCORE " .. score, 8, 12, font)
  bmptext("LEVEL " .. level, 270, 12, font)
  color(200, 210, 240, 255)
  for i = 1, lives do fillrectangle(W - 12 - i * 36, 16, 28, 8) end  -- one small paddle a life
end

local function drawPanel(lines)            -- a dark panel with centred lines
  color(0, 0, 0, 170)
  fillrectangle(80, 150, W - 160, 220)
  for _, l in ipairs(lines) do centred(l.text, 150 + l.y, l.font) end
end

-- The main loop ---------------------------------------------------------
-- sync() alone presents twice per frame period (about 120 frames a second
-- for setframetimer(60)): it presents, then the next call finds the period
-- over and starts a new one without waiting. Waiting out the period and
-- starting the next one at once gives one frame per period, about 62 a second.
local function nextFrame()
  redraw()
  local left = timeleft()
  if left > 0 then
    wait(left)
    timeleft()                             -- the period is over: start the next one now
  end
end

newGame(true)
while true do
  frame = frame + 1
  local key = getkey()
  if demoFrames then                       -- the computer presses the keys
    if key ~= keys.escape then key = (mode ~= "play" and frame % 90 == 0) and keys.space or 0 end
    if frame > demoFrames then break end
  end
  if key == keys.escape then
    if mode == "title" then break end
    mode = "title"
    newGame(true)
  elseif key == keys.space and mode ~= "play" then
    mode = "play"
    newGame(demoFrames ~= nil)
  end

  if mode ~= "over" then
    movePaddle(key)
    moveBall()
  end

  cls()
  drawWorld()
  if mode == "title" then
    drawPanel({ { text = "BREAKOUT", y = 24, font = bigFont }, { text = "SPACE: PLAY", y = 104, font = font },
                { text = "ESCAPE: QUIT", y = 132, font = font }, { text = "BEST " .. best, y = 176, font = font } })
  elseif mode == "over" then
    drawPanel({ { text = "GAME OVER", y = 24, font = bigFont }, { text = "SCORE " .. score, y = 104, font = font },
                { text = "SPACE: PLAY AGAIN", y = 132, font = font }, { text = "ESCAPE: TITLE", y = 160, font = font } })
  end
  color(150, 160, 200, 255)
  if demoFrames then
    drawtext("DEMO: the computer plays; the game ends after " .. demoFrames .. " frames (" ..
             demoFrames - frame .. " left)", 8, H - 12)
  else
    drawtext("Left/Right or mouse: move   Space: serve   Escape: title/quit", 8, H - 12)
  end
  nextFrame()
end

freesprite(fontSheet)
for _, s in pairs(sounds) do freesound(s) end
closewindow(window)
