-- sprites.lua: fly a little ship with the arrow keys, or hold the left mouse
-- button to pull it towards the pointer, over a field of spinning stars.
-- Escape or closing the window ends the demo.
--
-- assets/ship.png (four 32x32 frames with an alpha channel) and assets/star.bmp
-- (a star on magenta) were drawn by tools/make_demo_sprites.py.

local W, H = 640, 480
local window = openwindow("Sprites: arrow keys or mouse to fly, Escape to quit", -1, -1, W, H)
setactivewindow(window)
setframetimer(60)

-- Magenta is the default colour key: it turns transparent once the image
-- becomes a sprite. The same image serves as the window icon.
local starImage = loadimage("assets/star.bmp")
seticon(starImage)
local star = createsprite(starImage)
freeimage(starImage)

-- The sheet brings its own transparency, so it is loaded straight to a sprite.
local ship = loadsprite("assets/ship.png")
local FRAME = spriteheight(ship)             -- frames are square
local FRAMES = math.floor(spritewidth(ship) / FRAME)
local SCALE = 2
local SIZE = FRAME * SCALE

local keys = require("vorlune.keys")  -- scancodes by name
local SPEED, STEP, PULL = 4, 8, 6

local stars = {}
math.randomseed(7)
for i = 1, 40 do
    stars[i] = {
        x = math.random(0, W), y = math.random(0, H),
        scale = 0.5 + math.random() * 1.5,
        angle = math.random(0, 359), spin = math.random(-4, 4),
        fall = 0.3 + math.random() * 1.2,
        shade = math.random(120, 255),
    }
end

local x, y = (W - SIZE) / 2, (H - SIZE) / 2
local heading = 0
local frame = 0

while true do
    -- getkey takes the queued key presses (and ends the run when the window
    -- is closed); a short tap still moves the ship one step.
    local dx, dy = 0, 0
    local key = getkey()
    if key == keys.escape then break end
    if key == keys.left then dx = dx - STEP end
    if key == keys.right then dx = dx + STEP end
    if key == keys.up then dy = dy - STEP end
    if key == keys.down then dy = dy + STEP end

    -- Held keys keep it moving.
    if keystate(keys.left) then dx = dx - SPEED end
    if keystate(keys.right) then dx = dx + SPEED end
    if keystate(keys.up) then dy = dy - SPEED end
    if keystate(keys.down) then dy = dy + SPEED end

    -- The left mouse button pulls the ship's centre towards the pointer.
    if mousebutton() == 1 then
        local tx, ty = mousex() - SIZE / 2 - x, mousey() - SIZE / 2 - y
        local d = math.sqrt(tx * tx + ty * ty)
        if d > 1 then
            local s = math.min(PULL, d) / d
            dx, dy = dx + tx * s, dy + ty * s
        end
    end

    x = math.max(0, math.min(W - SIZE, x + dx))
    y = math.max(0, math.min(H - SIZE, y + dy))
    if dx ~= 0 or dy ~= 0 then heading = math.deg(math.atan2(dx, -dy)) end
    frame = frame + 1

    cls()
    for _, s in ipairs(stars) do
        s.angle = (s.angle + s.spin) % 360
        s.y = s.y + s.fall
        if s.y > H then s.y, s.x = -16, math.random(0, W) end
        spritecolor(star, s.shade, s.shade, 255, s.shade)
        drawsprite(star, math.floor(s.x), math.floor(s.y), s.scale, s.scale, s.angle, false, false)
    end
    -- The ship turns about its centre to face where it flies.
    drawspritepart(ship, math.floor(x), math.floor(y), math.floor(frame / 6) % FRAMES * FRAME, 0, FRAME, FRAME,
                   SCALE, SCALE, heading, false, false)
    sync()
end

freesprite(ship)
freesprite(star)
closewindow(window)
