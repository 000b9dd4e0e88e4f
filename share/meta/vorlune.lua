---@meta vorlune
-- The script functions of Vorlune 0.5.5, for the Lua language server.
-- Written from docs/api/functions.txt by tools/apidoc: edit that file instead.

---An image in memory (`loadimage`): for making sprites, the colour key and window icons.
---@class vorlune.Image

---A picture held by a window's renderer (`loadsprite`, `createsprite`): what you draw.
---@class vorlune.Sprite

---A sound effect (`loadsound`).
---@class vorlune.Sound

---Music (`loadmusic`).
---@class vorlune.Music

-- Windows

---Opens a w × h window with its own renderer and returns its id (negative x or y centres it).
---
---Opens a visible window of w × h pixels with its own hardware-accelerated
---renderer, and returns its integer id. A negative x or y centres the window
---along that axis, each independently. 0 and above are screen positions, so
---`0, 0` is the top-left corner. The new window is **not** selected; call
---`setactivewindow(id)`. If the window or renderer can't be created, the box
---"Error" shows `SDL_CreateWindow Error: ...` or `SDL_CreateRenderer Error: ...`
---and the run ends. Usage text (no closing parenthesis):
---"Usage: openwindow (caption,x,y,w,h".
---@param caption string
---@param x integer
---@param y integer
---@param w integer
---@param h integer
---@return integer # window id
function openwindow(caption, x, y, w, h) end

---Makes the window the target of drawing, presenting and sprite loading.
---
---Makes window the target of all drawing, presenting, sprite loading, caption,
---size, icon and mouse-warp calls. Any integer is accepted: an id that names no
---open window makes those calls do nothing. Each window keeps its own drawing
---colour, so switching back gives that window's last colour. Sprites belong to
---the window that was active when they were made and draw only there.
---
---Usage text: `Usage: setactivewindow (window)`
---@param window integer
function setactivewindow(window) end

---Destroys the window and its renderer; the active window is not changed.
---
---Destroys the window and its renderer. Every sprite made for that window
---becomes a dead handle. The active window is not changed, even when it was the
---window just closed, so select another before drawing. `closewindow` of any
---window (even an unknown id) clears the full-screen flag that `fullscreen`
---reports.
---
---Usage text: `Usage: closewindow (window)`
---@param window integer
function closewindow(window) end

---Gives the active window a logical drawing size that the renderer scales to fit.
---
---Gives the active window a logical drawing size. All drawing coordinates are
---then logical units, which the renderer scales to fit the window. After the
---first call, `windowwidth`/`windowheight` report the logical size. This holds
---for every window, and a window without a logical size then reports 0. Mouse
---positions stay in window pixels (see `mousex`).
---
---Usage text: `Usage: setvirtualsize (w,h)`
---@param w integer
---@param h integer
function setvirtualsize(w, h) end

---Sets the active window's size in pixels (not while full screen).
---
---Sets the active window's size in pixels. Each side is held to at most 8192
---pixels, so the window's own pixels never take more than 256 MB. It does
---nothing while the full-screen flag is set. Usage text: "Usage: resizewindow (x,y)".
---@param w integer
---@param h integer
function resizewindow(w, h) end

---Switches the active window to full screen or back to windowed.
---
---Switches the active window to full screen at the desktop resolution, or back
---to windowed on the next call. The flag flips even when there is no active
---window or the platform refuses.
function togglefullscreen() end

---Returns the full-screen flag set by `togglefullscreen`.
---
---Returns the full-screen flag: true after an odd number of `togglefullscreen`
---calls since the last `closewindow`. It does not ask the platform.
---@return boolean
function fullscreen() end

---The active window's width in pixels (logical width after `setvirtualsize`).
---
---The active window's width and height in pixels, or the logical size once
---`setvirtualsize` has been used. 0 without a live active window.
---@return integer
function windowwidth() end

---The active window's height in pixels (logical height after `setvirtualsize`).
---
---The active window's width and height in pixels, or the logical size once
---`setvirtualsize` has been used. 0 without a live active window.
---@return integer
function windowheight() end

---Sets sprite filtering for sprites created later: "nearest", "linear" or "best".
---
---Sets how sprites are filtered when scaled: `"0"` or `"nearest"` (sharp
---pixels), `"1"` or `"linear"`, `"2"` or `"best"`. It applies to sprites created
---after the call.
---
---Usage text: `Usage: setscalequality (mode)`
---@param mode string
function setscalequality(mode) end

---Sets the active window's title.
---
---Sets the active window's title.
---
---Usage text: `Usage: setcaption (caption)`
---@param caption string
function setcaption(caption) end

---Sets the active window's icon from an image handle.
---
---Sets the active window's icon from an **image** handle (from `loadimage`). A
---sprite or any other handle is ignored. The image stays yours to free.
---
---Usage text: `Usage: seticon (image)`
---@param image vorlune.Image
function seticon(image) end

---Shows a modal box and waits until it is dismissed.
---
---Shows a modal box and waits until it is dismissed. The text also goes to
---standard error as `caption: text`. Without a display it returns at once.
---
---Usage text: `Usage: messagebox (caption,text)`
---@param caption string
---@param text string
function messagebox(caption, text) end

---Shuts the media layer down; the script keeps running.
---
---Shuts the media layer down: stops music, closes audio, closes the joystick
---and shuts graphics down. **The script keeps running.** Afterwards nothing
---draws, every sprite is a dead handle, the joystick reports none, and
---`playsound` of a loaded sound ends the run with the "Error playing sound
---file." box. Call it only right before returning from the script, or not at
---all.
function closeapplication() end

-- Drawing (colour and primitives)

---Sets the active window's drawing colour (alpha 255 is opaque).
---
---Sets the active window's drawing colour and turns alpha blending on: alpha
---255 is opaque, 0 invisible. Channels keep their low 8 bits:
---`color(256, -1, 300, 1000)` is (0, 255, 44, 232). The colour belongs to the
---window and stays until the next `color`, `cls`, line editor or
---`updatesimpleparticles` call.
---
---Usage text: `Usage: color (r,g,b,alpha)`
---@param r integer
---@param g integer
---@param b integer
---@param alpha integer
function color(r, g, b, alpha) end

---Sets the colour `cls` clears to.
---
---Sets the colour `cls` clears to (initially opaque black). It draws nothing
---and doesn't change the drawing colour.
---
---Usage text: `Usage: backcolor (r,g,b,alpha)`
---@param r integer
---@param g integer
---@param b integer
---@param alpha integer
function backcolor(r, g, b, alpha) end

---Fills the active window with the background colour and selects that colour for drawing.
---
---Two names for one function. It fills the active window with the background
---colour. **It leaves the background colour selected as drawing colour**:
---after `cls()`, a `dot` without a new `color` draws in the background colour.
function clearwindow() end

---Fills the active window with the background colour and selects that colour for drawing.
---
---Two names for one function. It fills the active window with the background
---colour. **It leaves the background colour selected as drawing colour**:
---after `cls()`, a `dot` without a new `color` draws in the background colour.
function cls() end

---Plots one point.
---
---Plots one point.
---
---Usage text: `Usage: dot (x,y)`
---@param x integer
---@param y integer
function dot(x, y) end

---Draws a line with both end points included.
---
---Draws a line with both end points included.
---
---Usage text: `Usage: line (x1,y1,x2,y2)`
---@param x1 integer
---@param y1 integer
---@param x2 integer
---@param y2 integer
function line(x1, y1, x2, y2) end

---Draws a rectangle outline with its top-left corner at (x, y).
---
---Outline or filled rectangle with its top-left corner at (x, y). Width and
---height are used as given.
---
---Usage text: `Usage: rectangle (x,y,w,h)`
---@param x integer
---@param y integer
---@param w integer
---@param h integer
function rectangle(x, y, w, h) end

---Draws a filled rectangle with its top-left corner at (x, y).
---
---Outline or filled rectangle with its top-left corner at (x, y). Width and
---height are used as given.
---
---Usage text: `Usage: fillrectangle (x,y,w,h)`
---@param x integer
---@param y integer
---@param w integer
---@param h integer
function fillrectangle(x, y, w, h) end

---Draws a circle outline.
---
---Outline made of points, symmetric in all eight octants. Radius 0 is drawn as
---radius 1, the four points next to the centre. A negative radius draws the
---same as its absolute value.
---
---Usage text: `Usage: circle (x,y,radius)`
---@param x integer
---@param y integer
---@param radius integer
function circle(x, y, radius) end

---Draws a filled disc, one column wider on the left.
---
---Filled disc made of vertical lines. **It covers one more column on the left
---than on the right**: columns x − radius − 1 to x + radius. Radius 0 behaves
---as 1, and `fillcircle(x, y, 1)` draws the columns x − 1 and x from y − 1 to
---y + 1 plus single pixels at (x − 2, y) and (x + 1, y). A negative radius
---draws nothing.
---
---Usage text: `Usage: fillcircle (x,y,radius)`
---@param x integer
---@param y integer
---@param radius integer
function fillcircle(x, y, radius) end

---Draws an ellipse outline.
---
---Outline made of points. **With equal radii it is one unit taller than
---wide**: `ellipse(x, y, 5, 5)` draws exactly `ellipse(x, y, 5, 6)`. So for a
---round outline use `circle`. Points on the axes are plotted twice.
---
---Usage text: `Usage: ellipse (x,y,xradius,yradius)`
---@param x integer
---@param y integer
---@param xradius integer
---@param yradius integer
function ellipse(x, y, xradius, yradius) end

---Draws a filled ellipse.
---
---Plots every point (x + X, y + Y) with X²·yradius² + Y²·xradius² ≤
---xradius²·yradius², row by row. Equal radii are not adjusted. Radii 0, 0 plot
---the single centre point, and 0, 5 a vertical run of 11 points. A negative
---radius draws nothing.
---
---Usage text: `Usage: fillellipse (x,y,xradius,yradius)`
---@param x integer
---@param y integer
---@param xradius integer
---@param yradius integer
function fillellipse(x, y, xradius, yradius) end

---Draws a triangle outline.
---
---Three lines: corner 1 to 2, 2 to 3, 3 to 1.
---
---Usage text: `Usage: triangle (x1,y1,x2,y2,x3,y3)`
---@param x1 integer
---@param y1 integer
---@param x2 integer
---@param y2 integer
---@param x3 integer
---@param y3 integer
function triangle(x1, y1, x2, y2, x3, y3) end

---Draws a filled triangle.
---
---Filled with horizontal scan lines. **Corners at equal heights are first moved
---apart**, in this order: if y1 = y2, y2 goes one down; if y1 = y3, y3 goes one
---down; if y3 = y2, y2 goes one down. So a triangle with a flat top or bottom
---edge has that edge tilted by one pixel. If two heights are still equal,
---nothing is drawn: `filltriangle(0,5, 10,4, 20,4)` draws nothing. Each scan
---line is drawn once.
---
---Usage text: `Usage: filltriangle (x1,y1,x2,y2,x3,y3)`
---@param x1 integer
---@param y1 integer
---@param x2 integer
---@param y2 integer
---@param x3 integer
---@param y3 integer
function filltriangle(x1, y1, x2, y2, x3, y3) end

-- Frame timing

---Shows the frame drawn so far on the active window.
---
---Shows the frame drawn so far on the active window.
function redraw() end

---Shows the frame, then waits for the rest of the frame period.
---
---`redraw()`, then waits `timeleft()` milliseconds. A new frame period starts
---only in a call that finds the previous one over, and it starts from that
---call's time. **Consequence:** in a loop that does little besides `sync`,
---calls alternate. One starts a period and returns at once, and the next waits
---out the rest of it. So **two frames are presented per period**:
---`setframetimer(60)` gives about 120 passes a second (118–121 measured
---headless with a short loop), and `setframetimer(30)` about 60. Lateness is
---never made up.
---
---For **one frame per period**, present, wait out the period, and start the
---next one at once with a second `timeleft`:
---
---```lua
---local function nextframe()   -- use in place of sync()
---  redraw()
---  local left = timeleft()
---  if left > 0 then
---    wait(left)
---    timeleft()               -- the period is over: start the next one now
---  end
---end
---```
---
---With `setframetimer(60)` this gives about 62 frames a second (one per 16 ms
---period; 59–63 measured headless), and a pass that takes longer than the
---period waits nothing. For exact speeds, move things by the time elapsed
---(`timerticks`).
function sync() end

---Sets the frame period to 1000 / frames milliseconds.
---
---Sets the period to 1000 / frames milliseconds, truncated: 60 gives 16 ms and
---30 gives 33 ms. frames is not the number of frames a second that `sync`
---shows: it shows two per period (see `sync`). 0 counts as 1 (one period per
---second). Values above 1000, and negative values, make the period 0 or
---negative: `timeleft` is then always 0 and `sync` never waits. The current
---deadline is not moved.
---
---Usage text: `Usage: setframetimer (frames)`
---@param frames integer
function setframetimer(frames) end

---Milliseconds left in the frame period; starts a new period when it is over.
---
---Milliseconds left in the current frame period. When the period is over, it
---starts a new one (now + period) and returns 0. It never waits. Calling it
---moves the same deadline that `sync` uses.
---@return integer # integer (ms)
function timeleft() end

---Pauses for ms milliseconds.
---
---Pauses for ms milliseconds. Nothing is presented and no events are read
---meanwhile. A negative count waits nothing.
---
---Usage text: `Usage: wait (ms)`
---@param ms integer
function wait(ms) end

---Milliseconds since the program started.
---
---Milliseconds since the program started, as a 32-bit integer.
---@return integer # integer (ms)
function timerticks() end

-- Built-in text and line input

---Draws text in the built-in 8 × 8 font at (x, y).
---
---Draws text with its top-left corner at (x, y) in the current drawing colour.
---Only set pixels are drawn, so the background shows through. Each font pixel
---is a size × size square, and characters are 8 × size apart. There are no line
---breaks: bytes 10 and 13 draw their code page glyphs. Numbers draw as their
---text. A negative size draws each font pixel as the renderer draws a square of
---negative size, and a text wider than 2^32 units wraps around; such text is
---not drawn under a virtual size whose visible area spans more than 2^22 units
---across or down (as lines and shapes are not).
---
---Usage text: `Usage: drawtext (text,x,y)`
---@param text string|number
---@param x integer
---@param y integer
function drawtext(text, x, y) end

---Sets the scale of the built-in font.
---
---Sets the scale of the font (initially 1). `textsize(0)` makes `drawtext` draw
---nothing.
---
---Usage text: `Usage: textsize (size)`
---@param size integer
function textsize(size) end

---Width of the text in the built-in font, in pixels.
---
---8 × size × the number of bytes, and 8 × size.
---
---Usage text: `Usage: textwidth (textstring)`
---@param textstring string|number
---@return integer
function textwidth(textstring) end

---Height of the built-in font, in pixels.
---
---8 × size × the number of bytes, and 8 × size.
---@return integer
function textheight() end

---Sets the colour of the text and cursor of `input`.
---
---The colours `input` uses for the typed text and cursor (initially opaque
---white) and for clearing behind the line (initially opaque black). They are
---used only by `input`, not by `drawtext`.
---
---Usage text: `Usage: textinputcolor (red,green,blue,alpha)`
---@param red integer
---@param green integer
---@param blue integer
---@param alpha integer
function textinputcolor(red, green, blue, alpha) end

---Sets the colour `input` clears behind its line with.
---
---The colours `input` uses for the typed text and cursor (initially opaque
---white) and for clearing behind the line (initially opaque black). They are
---used only by `input`, not by `drawtext`.
---
---Usage text: `Usage: textinputbackcolor (red,green,blue,alpha)`
---@param red integer
---@param green integer
---@param blue integer
---@param alpha integer
function textinputbackcolor(red, green, blue, alpha) end

---Reads a line typed at (x, y) with the built-in font, and returns it.
---
---A blocking one-line editor at (x, y) that returns the typed line.
---- It draws a solid block cursor (textheight × textheight) after the text in
---  the input colour. The area is not cleared first.
---- Typed characters are appended; non-ASCII characters arrive as their UTF-8
---  bytes. **Backspace** removes the last byte. Return, keypad Enter and
---  **Escape** end the line. Escape does not cancel: the text typed so far is
---  returned.
---- The line holds at most maxlength bytes. 0 or less keeps it empty.
---- There is no cursor movement, selection or blinking.
---- Every change presents the window through `sync`, so typing is paced by the
---  frame timer. While idle the editor sleeps.
---- Closing the window during `input` ends the run (status 0), and the line is
---  lost.
---- On return the cursor is erased and the final line drawn, but **not
---  presented**: it shows with your next `redraw`/`sync`. **The drawing colour
---  is left at the input colour.**
---
---Usage text: `Usage: input (x,y,maxlength)`
---@param x integer
---@param y integer
---@param maxlength integer
---@return string
function input(x, y, maxlength) end

-- Images and sprites

---Loads an image file, applying the colour key.
---
---Loads an image. If the colour key is on (it is by default, with magenta
---255, 0, 255), pixels of exactly that colour become transparent once the image
---is made into a sprite. A missing file shows the box "File not found" with
---`Can't find image file: NAME` and ends the run. A file that can't be decoded
---shows "Error" with `SDL_LoadBMP Error: ...` and ends the run.
---
---Usage text: `Usage: loadimage (filename)`
---@param filename string
---@return vorlune.Image # image handle
function loadimage(filename) end

---Releases an image.
---
---Releases the image. Sprites made from it are not affected.
---
---Usage text: `Usage: freeimage (image)`
---@param image vorlune.Image
function freeimage(image) end

---Turns the colour key on with this colour for images loaded later.
---
---Turns the colour key on with that colour, or off. The key is applied when an
---image is **loaded**, so it doesn't change images already loaded.
---`colorkey(256, 0, 0)` keys on black (low 8 bits). `loadsprite` never uses the
---key.
---
---Usage text: `Usage: colorkey (r,g,b)`
---@param r integer
---@param g integer
---@param b integer
function colorkey(r, g, b) end

---Turns the colour key off for images loaded later.
---
---Turns the colour key on with that colour, or off. The key is applied when an
---image is **loaded**, so it doesn't change images already loaded.
---`colorkey(256, 0, 0)` keys on black (low 8 bits). `loadsprite` never uses the
---key.
function nocolorkey() end

---Loads an image file as a sprite for the active window.
---
---Loads a file directly as a sprite for the active window. Transparency comes
---only from the file's alpha channel. The failures are the same as for
---`loadimage`. **With no live active window the load fails** with the box
---"Error" (`SDL_LoadBMP Error: ...`) and the run ends, so call it after
---`setactivewindow`.
---
---Usage text: `Usage: loadsprite (filename)`
---@param filename string
---@return vorlune.Sprite # sprite handle
function loadsprite(filename) end

---Makes a sprite for the active window from an image.
---
---Makes a sprite for the active window from an image, applying its colour key.
---The image stays usable and must still be freed. With no live active window,
---or a dead image handle, the box "Error" shows
---`SDL_CreateTextureFromSurface Error: ...` and the run ends.
---
---Usage text: `Usage: createsprite (image)`
---@param image vorlune.Image
---@return vorlune.Sprite # sprite handle
function createsprite(image) end

---Releases a sprite.
---
---Releases the sprite. Usage text: "Usage: freesprite (image)".
---@param sprite vorlune.Sprite
function freesprite(sprite) end

---Tints the sprite and sets its opacity for every later draw.
---
---Tints the sprite (each colour channel is multiplied by r/255, g/255, b/255)
---and sets its opacity. Alpha blending also applies to pictures without an
---alpha channel. **The tint stays on the sprite** for every later draw
---(animations, particles and fonts that use it included) until you call
---`spritecolor(sprite, 255, 255, 255, 255)`.
---
---Usage text: `Usage: spritecolor (sprite,r,g,b,alpha)`
---@param sprite vorlune.Sprite
---@param r integer
---@param g integer
---@param b integer
---@param alpha integer
function spritecolor(sprite, r, g, b, alpha) end

---The sprite's width in pixels.
---
---The sprite's size in pixels. 0 for a dead handle or an image handle.
---
---Usage text: `Usage: spritewidth (sprite)`
---@param sprite vorlune.Sprite
---@return integer
function spritewidth(sprite) end

---The sprite's height in pixels.
---
---The sprite's size in pixels. 0 for a dead handle or an image handle.
---
---Usage text: `Usage: spriteheight (sprite)`
---@param sprite vorlune.Sprite
---@return integer
function spriteheight(sprite) end

---Draws the sprite at (x, y), scaled, rotated and flipped.
---
---Draws the whole sprite with its top-left corner at (x, y). **width and height
---are scale factors, not pixels**: 1 is natural size, 2 double, 0.5 half. The
---drawn size is rounded to the nearest pixel with ties to even, so 0.5 × 33
---pixels is 16. angle is in degrees, clockwise, about the centre of the drawn
---rectangle. vflip turns the sprite upside down and hflip mirrors it left to
---right. **When both are true only vflip applies.** Remember that 0 is a true
---value: use `false`. Usage text (no "Usage: "):
---"drawsprite (sprite, x,y,width,height,angle,vflip,hflip)".
---
---**Copies and what they cost.** The same rules hold for every sprite copy:
---`drawsprite`, `drawspritepart`, bitmap text and tiles, animations and
---particles.
---- A NaN or infinite angle, width or height draws nothing. Angles of 10^9
---  degrees or more (either sign) are first reduced modulo 360.
---- A copy whose rotated rectangle cannot touch the window is not drawn at
---  all, so positions and sizes far off cost nothing. What shows is exactly
---  what the renderer draws for the copy.
---- The software renderer builds some copies as whole pictures before it
---  clips them: those turned or flipped, at their drawn size in logical units,
---  and those scaled that cross the window's edge, at their size in window
---  pixels. There, a turned or flipped copy larger than 2^21 pixels
---  (2,097,152, for example 1448 × 1448), or whose turned bounding box is, and
---  a scaled copy across the edge
---  larger than 2^23 pixels (8,388,608) are not drawn. The accelerated
---  renderers draw such copies in full.
---@param sprite vorlune.Sprite
---@param x integer
---@param y integer
---@param width number
---@param height number
---@param angle number
---@param vflip boolean
---@param hflip boolean
function drawsprite(sprite, x, y, width, height, angle, vflip, hflip) end

---Draws a part of the sprite at (x, y), scaled, rotated and flipped.
---
---Draws the xoffset × yoffset part of the sprite whose top-left corner is
---(startx, starty). **xoffset and yoffset are the part's width and height.**
---width and height are scale factors as in `drawsprite`, so
---`drawspritepart(s, 0, 0, 32, 0, 32, 32, 2, 2, 0, false, false)` fills a
---64 × 64 square at (0, 0) with the 32 × 32 part at (32, 0). Usage text:
---"drawspritepart sprite,x,y,startx,starty,xoffset,yoffset,width,height,angle,vflip,hflip)".
---@param sprite vorlune.Sprite
---@param x integer
---@param y integer
---@param startx integer
---@param starty integer
---@param xoffset integer
---@param yoffset integer
---@param width number
---@param height number
---@param angle number
---@param vflip boolean
---@param hflip boolean
function drawspritepart(sprite, x, y, startx, starty, xoffset, yoffset, width, height, angle, vflip, hflip) end

-- Bitmap fonts and tilesets

---Makes a bitmap font from a sprite of equal tiles and returns its number.
---
---Two names for one function. It adds a font and returns its number. The
---number of columns is the sprite width / tilewidth, rounded to the nearest
---integer with ties to even: 100 / 40 gives 2 and 110 / 40 gives 3. Pass a
---**sprite** handle (from `loadsprite` or `createsprite`) to both, whatever the
---argument's name: an image handle draws nothing. A tile width or height of 0
---ends the run with status 217 (`Division by zero`). If a character appears
---twice in the fontface, its last tile is used.
---
---Usage text: `Usage: createbmpfont (sprite,tilewidth,tileheight,fontface)`
---@param sprite vorlune.Sprite
---@param tilewidth integer
---@param tileheight integer
---@param fontface string
---@return integer # font number
function createbmpfont(sprite, tilewidth, tileheight, fontface) end

---Makes a tileset from a sprite of equal tiles and returns its number.
---
---Two names for one function. It adds a font and returns its number. The
---number of columns is the sprite width / tilewidth, rounded to the nearest
---integer with ties to even: 100 / 40 gives 2 and 110 / 40 gives 3. Pass a
---**sprite** handle (from `loadsprite` or `createsprite`) to both, whatever the
---argument's name: an image handle draws nothing. A tile width or height of 0
---ends the run with status 217 (`Division by zero`). If a character appears
---twice in the fontface, its last tile is used.
---
---Usage text: `Usage: tileset (image,tilewidth,tileheight,fontface)`
---@param image vorlune.Sprite
---@param tilewidth integer
---@param tileheight integer
---@param fontface string
---@return integer # font number
function tileset(image, tilewidth, tileheight, fontface) end

---Draws text with a bitmap font at (x, y).
---
---Two names for one function. It draws each byte's tile from left to right,
---with the first cell's top-left corner at (x, y), and advances tilewidth ×
---width scale per character. Tiles are drawn in the sprite's own colours (with
---any `spritecolor` tint), rotated by the font angle about each tile's centre.
---**A space only advances the pen**: its tile is drawn only when the fontface
---holds nothing but spaces. **A character the fontface does not hold draws
---nothing**, but the pen still advances. There are no line breaks.
---
---Usage text: `Usage: bmptext (textstr,x,y,fontnumber)`
---@param textstr string|number
---@param x integer
---@param y integer
---@param fontnumber integer
function bmptext(textstr, x, y, fontnumber) end

---Draws a row of tiles, one per character, at (x, y).
---
---Two names for one function. It draws each byte's tile from left to right,
---with the first cell's top-left corner at (x, y), and advances tilewidth ×
---width scale per character. Tiles are drawn in the sprite's own colours (with
---any `spritecolor` tint), rotated by the font angle about each tile's centre.
---**A space only advances the pen**: its tile is drawn only when the fontface
---holds nothing but spaces. **A character the fontface does not hold draws
---nothing**, but the pen still advances. There are no line breaks.
---
---Usage text: `Usage: drawtile (textstr,x,y,tileset)`
---@param textstr string|number
---@param x integer
---@param y integer
---@param tileset integer
function drawtile(textstr, x, y, tileset) end

---Sets the bitmap font's whole-number scale factors.
---
---Sets whole-number scale factors for the tiles (initially 1, 1). They are
---factors, not pixels: with 8 × 8 tiles, `bmpfontsize(f, 2, 3)` makes cells
---16 × 24.
---
---Usage text: `Usage: bmpfontsize (fontnumber,width,height)`
---@param fontnumber integer
---@param width integer
---@param height integer
function bmpfontsize(fontnumber, width, height) end

---Sets the rotation of every tile drawn with the font, in degrees.
---
---Rotates every tile drawn with the font by angle degrees (initially 0).
---
---Usage text: `Usage: bmpfontangle (fontnumber,angle)`
---@param fontnumber integer
---@param angle number
function bmpfontangle(fontnumber, angle) end

---Cell width of the bitmap font: tile width × width scale.
---
---Cell size: tile width × width scale, and tile height × height scale.
---
---Usage text: `Usage: bmpfontwidth (fontnumber)`
---@param fontnumber integer
---@return integer
function bmpfontwidth(fontnumber) end

---Cell height of the bitmap font: tile height × height scale.
---
---Cell size: tile width × width scale, and tile height × height scale.
---
---Usage text: `Usage: bmpfontheight (fontnumber)`
---@param fontnumber integer
---@return integer
function bmpfontheight(fontnumber) end

---Sets the cursor colour of `bmpinput` with this font.
---
---The cursor colour of `bmpinput` with this font (initially opaque white) and
---the colour it clears behind the line with (initially opaque black).
---
---Usage text: `Usage: bmpinputcolor (fontnumber,r,g,b,alpha)`
---@param fontnumber integer
---@param r integer
---@param g integer
---@param b integer
---@param alpha integer
function bmpinputcolor(fontnumber, r, g, b, alpha) end

---Sets the colour `bmpinput` clears behind its line with this font.
---
---The cursor colour of `bmpinput` with this font (initially opaque white) and
---the colour it clears behind the line with (initially opaque black).
---
---Usage text: `Usage: bmpinputbackcolor (fontnumber,r,g,b,alpha)`
---@param fontnumber integer
---@param r integer
---@param g integer
---@param b integer
---@param alpha integer
function bmpinputbackcolor(fontnumber, r, g, b, alpha) end

---Reads a line typed at (x, y) with a bitmap font, and returns it.
---
---The line editor of `input`, drawn with a bitmap font. Keys, limits, pacing
---and closing the window work as described under `input`. The differences:
---- The cursor is one cell (cell width × cell height) in the font's input
---  colour. The input colour colours only the cursor, while the characters keep
---  the sprite's colours.
---- When the line ends, the final line **is** presented before `bmpinput`
---  returns.
---- Afterwards the drawing colour is left at the font's back colour.
---
---Usage text: `Usage: bmpinput (x,y,maxlen,fontnumber)`
---@param x integer
---@param y integer
---@param maxlen integer
---@param fontnumber integer
---@return string
function bmpinput(x, y, maxlen, fontnumber) end

-- Keyboard, mouse and joystick

---Scancode of the last key pressed since the previous call, or 0; does not wait.
---
---Does not wait. It takes every pending event and returns the **scancode** of
---the last key pressed among them, or 0. Scancodes name key positions, not
---characters: A is 4, not 97. Other events are discarded, and so are earlier
---key presses in the same batch: three queued presses give only the third. A
---close request among them ends the run (status 0). Auto-repeat counts as
---presses.
---@return integer # integer scancode
function getkey() end

---Waits for a key press and returns its character as a one-byte string.
---
---**Waits** for a key press, checking every 3 ms, and returns a one-byte
---string. The byte is the **low byte of the key code**: the unshifted
---character of the key in the current keyboard layout. Letters are lower case
---with or without Shift. Return is byte 13, Escape 27, Backspace 8, Tab 9 and
---Space 32. Keys without a character give the low byte of their scancode, so
---**the arrows give "O", "P", "Q", "R"** (Right, Left, Down, Up) and F1 gives
---":". Other events that arrive meanwhile are discarded. Closing the window
---ends the run (status 0).
---@return string # one-byte string
function inkey() end

---True while the key with this scancode is held down.
---
---True while the key with that scancode is held down. This is the way to read
---movement keys. Scancodes outside 0–511 are false.
---
---Usage text: `Usage: keystate (scancode)`
---@param scancode integer
---@return boolean
function keystate(scancode) end

---Pointer x position in window pixels.
---
---Pointer position in pixels of the window under the mouse, from its top-left
---corner. **These are window pixels even after `setvirtualsize`**: convert them
---yourself, e.g. `math.floor(mousex() * 320 / 640)` for a 640-pixel-wide
---window with a virtual width of 320.
---@return integer
function mousex() end

---Pointer y position in window pixels.
---
---Pointer position in pixels of the window under the mouse, from its top-left
---corner. **These are window pixels even after `setvirtualsize`**: convert them
---yourself, e.g. `math.floor(mousex() * 320 / 640)` for a 640-pixel-wide
---window with a virtual width of 320.
---@return integer
function mousey() end

---The mouse button held down: 1 left, 2 middle, 3 right, 0 none.
---
---1 while the left button is down, else 2 for the middle, else 3 for the
---right, else 0. The lowest number wins when several are held. Extra buttons
---are not reported.
---@return integer # integer 0–3
function mousebutton() end

---True when the pointer is inside the rectangle, borders included.
---
---True when x1 ≤ mousex ≤ x2 and y1 ≤ mousey ≤ y2 (borders included, window
---pixels). The corners are not swapped: with x2 < x1 or y2 < y1 it is always
---false.
---
---Usage text: `Usage: mousezone (x1,y1,x2,y2)`
---@param x1 integer
---@param y1 integer
---@param x2 integer
---@param y2 integer
---@return boolean
function mousezone(x1, y1, x2, y2) end

---Hides the mouse pointer.
---
---Hide or show the pointer over all windows.
function mousehide() end

---Shows the mouse pointer.
---
---Hide or show the pointer over all windows.
function mouseshow() end

---Moves the pointer to (mx, my) in the active window.
---
---Moves the pointer to (mx, my) in window pixels of the active window. It does
---nothing without a live active window.
---
---Usage text: `Usage: warpmouse (mx,my)`
---@param mx integer
---@param my integer
function warpmouse(mx, my) end

---True while the joystick opened at start-up is attached.
---
---True while the joystick opened at start-up is attached. Only the first
---joystick present at start-up is used. One plugged in later is not seen, and
---once it is unplugged all joystick functions answer as if there were none.
---@return boolean
function joystickplugged() end

---Joystick axis 0, from -32768 to 32767.
---
---Axis 0 and axis 1 of the joystick, from -32768 to 32767, with no dead zone.
---0 without a joystick.
---@return integer
function getjoyx() end

---Joystick axis 1, from -32768 to 32767.
---
---Axis 0 and axis 1 of the joystick, from -32768 to 32767, with no dead zone.
---0 without a joystick.
---@return integer
function getjoyy() end

---Integer 1 while the joystick button is pressed, otherwise 0.
---
---1 while button number `button` (from 0) is pressed, otherwise 0. The result
---is an **integer**, so test it with `== 1`: `if getjoybutton(0) then` is
---always true. Indexes that are negative or too large give 0.
---
---Usage text: `Usage: getjoybutton (button)`
---@param button integer
---@return integer # integer 0 or 1
function getjoybutton(button) end

---Number of joystick buttons, 0 without a joystick.
---
---Number of buttons of the joystick, 0 without one.
---@return integer
function numberjoybuttons() end

-- Sounds and music

---Loads a sound effect.
---
---Loads a sound effect. A missing file shows the box "File not found" with
---`Can't find sound file: NAME` and ends the run. A file that exists but can't
---be decoded returns the null handle without a message, and `playsound` of it
---plays nothing.
---
---Usage text: `Usage: loadsound (filename)`
---@param filename string
---@return vorlune.Sound # sound handle
function loadsound(filename) end

---Plays a sound on a mixing channel at a volume from 0 to 128.
---
---Sets the sound's own volume (it applies wherever the sound plays) and starts
---it. channel -1 picks the first free channel. If all 8 are busy, nothing plays
---and nothing is reported. A channel number takes that channel over even while
---it plays. Channel numbers below -1 or above 7 play nothing. loop is the
---number of extra repetitions: 0 plays once, 1 twice, -1 until the channel is
---taken over. Failures:
---- the null handle (a failed load, or a non-handle value) plays nothing;
---- a **freed or foreign handle** shows the box "Error" with `Error playing
---  sound file.` and ends the run;
---- `playsound` after `closeapplication` shows the same box and ends the run.
---
---Usage text: `Usage: playsound (sound,volume,channel,loop)`
---@param sound vorlune.Sound
---@param volume integer
---@param channel integer
---@param loop integer
function playsound(sound, volume, channel, loop) end

---Stops the sound and releases it.
---
---Stops the sound wherever it plays and releases it.
---
---Usage text: `Usage: freesound (sound)`
---@param sound vorlune.Sound
function freesound(sound) end

---Loads music.
---
---Loads music. A missing file shows "File not found" with
---`Can't find music file: NAME` and ends the run. An undecodable file returns
---the null handle.
---
---Usage text: `Usage: loadmusic (filename)`
---@param filename string
---@return vorlune.Music # music handle
function loadmusic(filename) end

---Plays music at a volume from 0 to 128, replacing any music that plays.
---
---Sets the music volume and starts the music, replacing any music that plays.
---loop -1 repeats for ever and 0 plays once. A null or dead handle plays
---nothing, but the volume is still set. If music is fading out, `playmusic`
---waits until the fade ends; a fade with more than 5 seconds still to run, or
---one that is paused, is cut short instead: that music stops at once. Usage text: "Usage: playmusic (sound,volume,loop)".
---@param music vorlune.Music
---@param volume integer
---@param loop integer
function playmusic(music, volume, loop) end

---Fades the music out over ms milliseconds, then stops it.
---
---Fades the playing music out over ms milliseconds, then stops it.
---
---Usage text: `Usage: fademusic (ms)`
---@param ms integer
function fademusic(ms) end

---Pauses the music.
---
---Pause, resume, or stop the music. They do nothing when no music plays.
function pausemusic() end

---Resumes paused music.
---
---Pause, resume, or stop the music. They do nothing when no music plays.
function resumemusic() end

---Stops the music.
---
---Pause, resume, or stop the music. They do nothing when no music plays.
function haltmusic() end

---Stops the music if it plays, then releases it.
---
---Stops the music if it is playing, then releases it. Freeing music that is
---fading out waits for the fade to end, as `playmusic` does, and cuts a fade
---with more than 5 seconds still to run, or a paused one, short.
---
---Usage text: `Usage: freemusic (music)`
---@param music vorlune.Music
function freemusic(music) end

-- Collision tests

---True when two boxes overlap or touch.
---
---True when the boxes overlap **or touch**: edges are inclusive, so
---`boxcoll(0,0,10,10, 10,0,10,10)` is true and the same with x2 = 11 is false.
---
---Usage text: `Usage: boxcoll (x1,y1,w1,h1,x2,y2,w2,h2)`
---@param x1 integer
---@param y1 integer
---@param w1 integer
---@param h1 integer
---@param x2 integer
---@param y2 integer
---@param w2 integer
---@param h2 integer
---@return boolean
function boxcoll(x1, y1, w1, h1, x2, y2, w2, h2) end

---True when the two sprites' boxes at those positions overlap or touch.
---
---`boxcoll` of the two sprites' boxes at those positions. A dead handle counts
---as a 0 × 0 box.
---
---Usage text: `Usage: imagecoll (SpriteA,ax,ay,SpriteB,bx,by)`
---@param SpriteA vorlune.Sprite
---@param ax integer
---@param ay integer
---@param SpriteB vorlune.Sprite
---@param bx integer
---@param by integer
---@return boolean
function imagecoll(SpriteA, ax, ay, SpriteB, bx, by) end

---True when two circles overlap, widened by offset.
---
---True when offset² ≥ d² − (r1 + r2)², with d the distance of the centres.
---With offset 0, circles that touch collide. A non-zero offset widens the test
---in squared units (its sign doesn't matter): `circlecoll(0,0,5, 11,0,5, 5)` is
---true because 121 − 100 ≤ 25.
---
---Usage text: `Usage: circlecoll (x1,y1,r1,x2,y2,r2,offset)`
---@param x1 integer
---@param y1 integer
---@param r1 integer
---@param x2 integer
---@param y2 integer
---@param r2 integer
---@param offset integer
---@return boolean
function circlecoll(x1, y1, r1, x2, y2, r2, offset) end

---True when the circles fitted to two sprites overlap, widened by offset.
---
---Treats each sprite as a circle centred on its box with radius
---(width + height) / 4, truncated, then runs `circlecoll`. Two 20 × 10 sprites
---get radius 7 and centres (+10, +5). Usage text:
---"Usage: collision=roundcoll (SpriteA,ax,ay,SpriteB,bx,by,offset)".
---@param SpriteA vorlune.Sprite
---@param ax integer
---@param ay integer
---@param SpriteB vorlune.Sprite
---@param bx integer
---@param by integer
---@param offset integer
---@return boolean
function roundcoll(SpriteA, ax, ay, SpriteB, bx, by, offset) end

---True when the circle reaches into the box.
---
---True when the box point nearest the centre is **closer than r**. Touching
---doesn't count: `circletoboxcoll(0,0,5, 5,-10,10,20)` is false and radius 6 is
---true.
---
---Usage text: `Usage: circletoboxcoll (cx,cy,r,x1,y1,w,h)`
---@param cx integer
---@param cy integer
---@param r integer
---@param x1 integer
---@param y1 integer
---@param w integer
---@param h integer
---@return boolean
function circletoboxcoll(cx, cy, r, x1, y1, w, h) end

---Which side ("none", "left", "right", "top", "bottom") a moving box runs into.
---
---For a box (x, y, w, h) about to move by (dx, dy) toward a resting rectangle
---(rx, ry, rw, rh), returns which side it runs into: `"none"`, `"left"`,
---`"right"`, `"top"` or `"bottom"`.
---- `"left"`: moving left, it hits the rectangle's right edge. `"top"`: moving
---  up, it hits the bottom edge.
---- The horizontal test comes first (using the moved y) and wins over the
---  vertical one (using the unmoved x).
---- No movement, or a box that already overlaps, gives `"none"`.
---
---`sidecoll(0,0,10,10, 5,0, 12,0,10,10)` is `"right"`, and with dx = 1 it is
---`"none"`. Usage text: "Usage: sidecoll (x,y,w,h,dx,dy, rx, ry, rw, rh)".
---@param x integer
---@param y integer
---@param w integer
---@param h integer
---@param dx integer
---@param dy integer
---@param rx integer
---@param ry integer
---@param rw integer
---@param rh integer
---@return string
function sidecoll(x, y, w, h, dx, dy, rx, ry, rw, rh) end

---True when two segments cross.
---
---True when segment A crosses segment B. An end point lying on the other
---segment counts. **Collinear segments never collide**, even when they
---overlap.
---
---Usage text: `Usage: linecoll (a1x,a1y,a2x,a2y,b1x,b1y,b2x,b2y)`
---@param a1x integer
---@param a1y integer
---@param a2x integer
---@param a2y integer
---@param b1x integer
---@param b1y integer
---@param b2x integer
---@param b2y integer
---@return boolean
function linecoll(a1x, a1y, a2x, a2y, b1x, b1y, b2x, b2y) end

---True when the segment crosses the circle's rim.
---
---True when the segment crosses the circle's **rim**. **A segment lying wholly
---inside the circle, away from the rim, is false.** A zero-length segment is
---true when the point is inside or on the circle. Usage text:
---"Usage: linetocirclecoll (LineX1,LineY1,LineX2,LineY2, CircleX,CircleY,CircleRadius)".
---@param LineX1 number
---@param LineY1 number
---@param LineX2 number
---@param LineY2 number
---@param CircleX number
---@param CircleY number
---@param CircleRadius number
---@return boolean
function linetocirclecoll(LineX1, LineY1, LineX2, LineY2, CircleX, CircleY, CircleRadius) end

---True when the point is strictly inside the triangle.
---
---True when the point is strictly inside the triangle, in either winding.
---Points on an edge or a corner are outside.
---
---Usage text: `Usage: insidetriangle (px,py,x1,y1,x2,y2,x3,y3)`
---@param px integer
---@param py integer
---@param x1 integer
---@param y1 integer
---@param x2 integer
---@param y2 integer
---@param x3 integer
---@param y3 integer
---@return boolean
function insidetriangle(px, py, x1, y1, x2, y2, x3, y3) end

---True when the point is strictly inside the rectangle.
---
---True when x1 < px < x2 and y1 < py < y2. Borders are outside. Give the
---top-left corner first: with reversed corners no point is inside.
---
---Usage text: `Usage: insiderectangle (px,py,x1,y1,x2,y2)`
---@param px integer
---@param py integer
---@param x1 integer
---@param y1 integer
---@param x2 integer
---@param y2 integer
---@return boolean
function insiderectangle(px, py, x1, y1, x2, y2) end

---True when the point is closer to the centre than radius.
---
---True when the distance to the centre is **less than** radius. A point at
---exactly the radius is outside, and a negative radius contains nothing.
---
---Usage text: `Usage: insidecircle (px,py,cx,cy,radius)`
---@param px integer
---@param py integer
---@param cx integer
---@param cy integer
---@param radius integer
---@return boolean
function insidecircle(px, py, cx, cy, radius) end

-- Sprite animations

---Creates an animation from a sprite sheet and returns its number.
---
---Creates an animation of width × height frames on the sprite and returns its
---number. The columns and rows are the sprite size / frame size, rounded with
---ties to even (100 / 40 gives 2), and a frame size of 0 gives none. The run
---goes from startframe to endframe, showing each frame for about timer
---milliseconds. direction is the step per frame change:
---- 1 plays forward, -1 backward, 2 every other frame;
---- 0 never changes, and the frame stays 0 (the first cell);
---- play starts at startframe when direction is positive and at endframe when
---  it is negative.
---
---loop 0 plays the run once, loop n plays it n + 1 times, and a negative loop
---plays for ever. Usage text:
---"createanimation (sprite,width,height,startframe,endframe,timer,direction,loop)".
---@param sprite vorlune.Sprite
---@param width integer
---@param height integer
---@param startframe integer
---@param endframe integer
---@param timer integer
---@param direction integer
---@param loop integer
---@return integer # animation number
function createanimation(sprite, width, height, startframe, endframe, timer, direction, loop) end

---Advances every animation by the clock; call it once per frame.
---
---Advances every animation by the clock. Call it once per pass of your loop.
---- A frame changes when at least timer ms **plus 1 ms for each update since
---  the last change** have passed, measured up to the previous update. So
---  frames last a little longer than timer.
---- The first update after creation usually changes the frame at once.
---- Stepping past endframe (or below startframe when going backward) jumps to
---  the other end of the run and uses up one pass. When the last pass is used
---  the animation stops.
---- A stopped animation is hidden, but its frame number keeps moving.
function updateanimations() end

---Draws the animation's current frame at (xscreen, yscreen).
---
---Draws the current frame with its top-left corner at (xscreen, yscreen), as
---`drawspritepart` does: xw and yw are scale factors, angle and the flips work
---as in `drawsprite`. It draws nothing while the animation is stopped. A frame
---number beyond the sheet wraps to the first row, one column further on: on a
---4 × 2 sheet, frame 9 draws the cell of frame 2. Usage text:
---"drawanimation (spriteanimation,xscreen,yscreen,xw,yw,angle,vflip,hflip)".
---@param spriteanimation integer
---@param xscreen integer
---@param yscreen integer
---@param xw number
---@param yw number
---@param angle number
---@param vflip boolean
---@param hflip boolean
function drawanimation(spriteanimation, xscreen, yscreen, xw, yw, angle, vflip, hflip) end

---Frame width of the animation.
---
---The frame size given at creation. Usage text of `animationheight`:
---"Usage: animationhieght (spriteanimation)".
---
---Usage text: `Usage: animationwidth (spriteanimation)`
---@param spriteanimation integer
---@return integer
function animationwidth(spriteanimation) end

---Frame height of the animation.
---
---The frame size given at creation. Usage text of `animationheight`:
---"Usage: animationhieght (spriteanimation)".
---@param spriteanimation integer
---@return integer
function animationheight(spriteanimation) end

---The animation's current frame number.
---
---The current frame number.
---
---Usage text: `Usage: framenumber (spriteanimation)`
---@param spriteanimation integer
---@return integer
function framenumber(spriteanimation) end

---Sets the frame duration in milliseconds.
---
---Sets the frame duration to speed milliseconds.
---
---Usage text: `Usage: setanimationspeed (spriteanimation,speed)`
---@param spriteanimation integer
---@param speed integer
function setanimationspeed(spriteanimation, speed) end

---Sets the loop count and restarts the animation.
---
---Sets a new loop count (same rule as at creation) and resets the frame to the
---start of the run. This also restarts a stopped animation:
---`setanimationloop(a, -1)` plays it for ever.
---
---Usage text: `Usage: setanimationloop (spriteanimation,loop)`
---@param spriteanimation integer
---@param loop integer
function setanimationloop(spriteanimation, loop) end

---Stops and hides the animation.
---
---Stops the animation (it is hidden) and resets its frame to the start of the
---run.
---
---Usage text: `Usage: haltanimation (spriteanimation)`
---@param spriteanimation integer
function haltanimation(spriteanimation) end

---True once the animation has stopped.
---
---True once the animation has used up its passes or was halted.
---
---Usage text: `Usage: animationstopped (spriteanimation)`
---@param spriteanimation integer
---@return boolean
function animationstopped(spriteanimation) end

-- Particle emitters

---Creates an empty particle emitter and returns its number.
---
---Creates an empty emitter and returns its number. amount is the burst size
---parameter: **a burst spawns amount + 1 particles**. live is the life limit,
---in both milliseconds and pixels. stream is a boolean. Creating an emitter
---**reseeds the random generator** from the clock in whole seconds, which also
---restarts the `rnd` sequence.
---
---Usage text: `Usage: createemitter (amount,live,stream)`
---@param amount integer
---@param live integer
---@param stream boolean
---@return integer # emitter number
function createemitter(amount, live, stream) end

---Adds a burst of particles to the emitter at (X, Y).
---
---Adds amount + 1 particles at (X, Y) to those already there. An emitter holds
---at most 2^20 (1,048,576) particles: a burst (here, in `drawparticles`,
---`drawmovingparticles` or `resumeemitter`) that would pass it raises the
---script error "not enough memory". Each particle
---gets:
---- a direction BAngle + a random whole number of degrees from 0 to
---  AAngle − 1, plus a random fraction below 1. AAngle 360 sprays all around,
---  and 0 keeps within one degree of BAngle;
---- a speed from 0 to just under Force pixels per `updateparticles`;
---- a random wait of 0 to CreationDelay − 1 updates before it starts to move
---  (no wait when CreationDelay is 0 or less);
---- a random 0–999 ms head start on its age, so a burst dies out over up to a
---  second.
---
---A streaming emitter also remembers X, Y, AAngle, BAngle, Force and
---CreationDelay for its replacements. A negative amount adds nothing. Usage
---text: "Usage: createparticle (emitterval, X, Y, AAngle, BAngle, Force, CreationDelay)".
---@param emitterval integer
---@param X integer
---@param Y integer
---@param AAngle number
---@param BAngle number
---@param Force number
---@param CreationDelay integer
function createparticles(emitterval, X, Y, AAngle, BAngle, Force, CreationDelay) end

---Moves every particle of every emitter one step.
---
---Moves every particle of every emitter one step. Particles still waiting
---count down instead. Calling it before any emitter exists shows the box
---"Error" with `No emitter available.` and ends the run.
function updateparticles() end

---Draws the emitter's particles with a sprite.
---
---Draws each particle with `drawsprite` at its position (the sprite's top-left
---corner), with sizex and sizey as scale factors. A particle dies when it is
---off the window (x < 0, x > windowwidth, y < 0 or y > windowheight), at least
---live pixels from the emitter's remembered point, or at least live ms old. It
---is still drawn once where it dies. A streaming emitter spawns a replacement
---at its remembered point. **A non-streaming emitter has no remembered point:
---distances are measured from (0, 0)**, the window's top-left corner. Use a
---streaming emitter, or a live large enough for your positions. Usage text:
---"Usage: drawparticles (emitterval,sprite,sizex,sizey,angle,vflip,hflip);".
---@param emitterval integer
---@param sprite vorlune.Sprite
---@param sizex number
---@param sizey number
---@param angle number
---@param vflip boolean
---@param hflip boolean
function drawparticles(emitterval, sprite, sizex, sizey, angle, vflip, hflip) end

---Draws the particles of a streaming emitter that follows (x, y).
---
---Like `drawparticles` for an emitter that follows a moving point. Distances
---are measured from (x, y), and replacements are spawned at (x, y) with the
---given angles and the remembered force and delay. **The emitter must stream**:
---when a particle of a non-streaming emitter dies, the box "Error" shows
---`No streaming emitter available.` and the run ends. Usage text:
---"drawmovingparticles (emitterval,sprite,x,y,sizex,sizey,angle,vflip,hflip,aangle,bangle)".
---@param emitterval integer
---@param sprite vorlune.Sprite
---@param x integer
---@param y integer
---@param sizex number
---@param sizey number
---@param angle number
---@param vflip boolean
---@param hflip boolean
---@param aangle number
---@param bangle number
function drawmovingparticles(emitterval, sprite, x, y, sizex, sizey, angle, vflip, hflip, aangle, bangle) end

---Removes the emitter's particles, keeping its settings.
---
---Removes all the emitter's particles. Its settings stay, and a streaming
---emitter still streams once it gets new particles.
---
---Usage text: `Usage: haltemitter (emitternumber)`
---@param emitternumber integer
function haltemitter(emitternumber) end

---Adds a burst of particles to a streaming emitter at (x, y).
---
---Adds amount + 1 particles at (x, y) with the given angles and the remembered
---force and delay. The remembered point and angles are not changed. On a
---non-streaming emitter (with amount 0 or more) the box "Error" shows
---`No streaming emitter available.` and the run ends.
---
---Usage text: `Usage: resumeemitter (emitternumber,x,y,aangle,bangle)`
---@param emitternumber integer
---@param x integer
---@param y integer
---@param aangle number
---@param bangle number
function resumeemitter(emitternumber, x, y, aangle, bangle) end

---Removes the emitter's particles for good.
---
---Removes the emitter's particles for good. The number stays valid but behaves
---as an emitter without particles: bursts add nothing, drawing draws nothing,
---and `resumeemitter` does nothing.
---
---Usage text: `Usage: freeemitter (emitternumber)`
---@param emitternumber integer
function freeemitter(emitternumber) end

-- Simple particles

---Adds simple particles at (px, py) in the given colour.
---
---Adds number particles at (px, py) in the given colour. Each particle:
---- lives for a random 0 to cycle updates;
---- moves up to about 1.1 pixels per update along each axis;
---- gets a size from 1 to size + 1 at random (random mode) or exactly size
---  (normal mode).
---
---Nothing is drawn yet. A negative number removes particles from the end,
---never below none. More than 2^20 (1,048,576) particles in all raise the
---script error "not enough memory". It takes **eight** arguments, although its usage text names
---seven: "Usage: createmirvparticles (px,py,number,cycle, red,green,blue)".
---@param px integer
---@param py integer
---@param number integer
---@param cycle integer
---@param red integer
---@param green integer
---@param blue integer
---@param alpha integer
function createsimpleparticles(px, py, number, cycle, red, green, blue, alpha) end

---Moves, draws and retires every simple particle.
---
---One call per frame moves, draws and retires every particle. Speeds grow by
---0.1 % per update, about 10 % after 100 updates. Each particle is drawn in its
---own colour as:
---- `dot`;
---- `fillcircle` or `circle` with radius size;
---- `fillrectangle` or `rectangle` of size × size;
---- the image sprite scaled by size.
---
---Positions are rounded to the nearest pixel. A dead particle's slot is
---refilled from the end of the cloud during the pass, so in a pass with deaths
---a few particles are drawn twice, sometimes in a neighbour's colour. **The
---drawing colour is left at the last particle's colour.**
function updatesimpleparticles() end

---Sets how simple particles are drawn: "fillcircle", "circle", "fillbox", "box", "dot" or "image".
---
---`"fillcircle"` (the default), `"circle"`, `"fillbox"`, `"box"`, `"dot"` or
---`"image"`, in any letter case. Any other text changes nothing. It applies to
---every particle from the next update on. Usage text:
---"Usage: setparticletype ("type")".
---@param type string
function setsimpleparticletype(type) end

---Sets the size of new simple particles, "random" or "normal".
---
---flag `"random"` (the default mode) or `"normal"`, in any case, with size for
---particles created afterwards (default 2). Any other flag changes nothing, not
---even the size. Usage text: "Usage: setparticlesize (size, "flag")".
---@param size integer
---@param flag string
function setsimpleparticlesize(size, flag) end

---Sets the sprite drawn by the "image" particle type.
---
---The **sprite** drawn by the `"image"` type, scaled by each particle's size.
---With no sprite set, or a dead one, image particles draw nothing. Usage text:
---"Usage: setparticleimage (image)".
---@param image vorlune.Sprite
function setsimpleparticleimage(image) end

---Removes every simple particle.
---
---Removes every particle. Type, size, mode and image stay as set.
function resetsimpleparticles() end

-- Numbers and strings

---A random number from 0 up to but not including 1.
---
---A random number from 0 up to but not including 1, in steps of 2⁻³². The
---generator is seeded from the clock in whole seconds at start-up, so **runs
---started within the same second get the same sequence**. `createemitter`
---reseeds it the same way. There is no seeding function.
---@return number # number in [0, 1)
function rnd() end

---Rounds to the nearest integer, ties to even.
---
---Round to the nearest integer with **ties to even** (`round(2.5)` is 2,
---`round(3.5)` is 4, `round(-0.5)` is 0), or truncate toward zero
---(`int(-2.7)` is -2). The result is a 32-bit integer: values from 2³¹ up wrap
---around, so `int(3000000000)` is -1294967296. NaN, infinities and values
---beyond 64 bits raise a script error you can catch with `pcall`:
---`round: cannot convert nan to an integer`,
---`int: cannot convert 1e+20 to an integer`.
---
---Usage text: `Usage: round (number)`
---@param number number
---@return integer
function round(number) end

---Truncates toward zero to an integer.
---
---Round to the nearest integer with **ties to even** (`round(2.5)` is 2,
---`round(3.5)` is 4, `round(-0.5)` is 0), or truncate toward zero
---(`int(-2.7)` is -2). The result is a 32-bit integer: values from 2³¹ up wrap
---around, so `int(3000000000)` is -1294967296. NaN, infinities and values
---beyond 64 bits raise a script error you can catch with `pcall`:
---`round: cannot convert nan to an integer`,
---`int: cannot convert 1e+20 to an integer`.
---
---Usage text: `Usage: int (number)`
---@param number number
---@return integer
function int(number) end

---Rounds down.
---
---Round down or up, returned as a number: `floor(-2.5)` is -3 and `ceil(-2.5)`
---is -2. They use the same 32-bit integer as `int`, so large values wrap.
---Values beyond 64 bits give 0.
---
---Usage text: `Usage: floor (number)`
---@param number number
---@return number
function floor(number) end

---Rounds up.
---
---Round down or up, returned as a number: `floor(-2.5)` is -3 and `ceil(-2.5)`
---is -2. They use the same 32-bit integer as `int`, so large values wrap.
---Values beyond 64 bits give 0.
---
---Usage text: `Usage: ceil (number)`
---@param number number
---@return number
function ceil(number) end

---Square root, 0 for a negative number.
---
---√x, with 0 for negative x. |x|, with 0 for NaN. eˣ, with 0 when the result
---is too large (`exp(1000)` is 0). Usage text of `abs`: "Usage: abc (number)".
---
---Usage text: `Usage: sqrt (number)`
---@param number number
---@return number
function sqrt(number) end

---Absolute value.
---
---√x, with 0 for negative x. |x|, with 0 for NaN. eˣ, with 0 when the result
---is too large (`exp(1000)` is 0). Usage text of `abs`: "Usage: abc (number)".
---@param number number
---@return number
function abs(number) end

---e to the power of number, 0 when too large.
---
---√x, with 0 for negative x. |x|, with 0 for NaN. eˣ, with 0 when the result
---is too large (`exp(1000)` is 0). Usage text of `abs`: "Usage: abc (number)".
---
---Usage text: `Usage: exp (number)`
---@param number number
---@return number
function exp(number) end

---Cosine of an angle in radians.
---
---Cosine and sine of an angle in **radians**. Infinite or NaN arguments give
---0.
---
---Usage text: `Usage: cos (number)`
---@param number number
---@return number
function cos(number) end

---Sine of an angle in radians.
---
---Cosine and sine of an angle in **radians**. Infinite or NaN arguments give
---0.
---
---Usage text: `Usage: sin (number)`
---@param number number
---@return number
function sin(number) end

---A one-byte string holding ascii modulo 256.
---
---A one-byte string holding ascii modulo 256: `chr(321)` is `"A"`. `chr(0)`
---holds a zero byte. Passed back to any function it is cut to `""`, so
---`len(chr(0))` is 0.
---
---Usage text: `Usage: chr (ascii)`
---@param ascii integer
---@return string
function chr(ascii) end

---The value 0–255 of the first byte.
---
---The value 0–255 of the first byte. `asc("")` is 0.
---
---Usage text: `Usage: asc (char)`
---@param char string
---@return integer
function asc(char) end

---Parses a decimal number; 0 for anything else.
---
---Parses a decimal number and returns 0 for anything else. Leading and
---trailing spaces and control characters are ignored. The accepted form is an
---optional `+` or `-`, digits with an optional `.` and fraction, then
---optionally `e` or `E` with an optional sign and at least one digit. There
---must be a digit before or after the point, so `.5` and `5.` are numbers.
---- `val(" 3.5 ")` is 3.5, `val("-2e3")` is -2000 and `val(".5")` is 0.5.
---- **Any comma gives 0** (`val("1,5")`).
---- So do trailing text (`val("12abc")`), an incomplete exponent (`val("1e")`),
---  hex, `inf` and `nan`, texts over 255 bytes, and values beyond the number
---  range.
---
---Usage text: `Usage: val (string)`
---@param string string
---@return number
function val(string) end

---The number of bytes.
---
---The number of bytes.
---
---Usage text: `Usage: len (string)`
---@param string string
---@return integer
function len(string) end

---The first length bytes.
---
---The first or last length bytes. A length beyond the string gives the whole
---string, and 0 or less gives `""`.
---
---Usage text: `Usage: left (string,length)`
---@param string string
---@param length integer
---@return string
function left(string, length) end

---The last length bytes.
---
---The first or last length bytes. A length beyond the string gives the whole
---string, and 0 or less gives `""`.
---
---Usage text: `Usage: right (string,length)`
---@param string string
---@param length integer
---@return string
function right(string, length) end

---length bytes from byte position start (1 is the first).
---
---length bytes from byte position start (1 is the first byte): `mid("abcdef",
---2, 3)` is `"bcd"` and `mid("abcdef", 5, 10)` is `"ef"`. **A start below 1
---counts as 1 and doesn't shorten the result**: `mid("abcdef", -3, 2)` and
---`mid("abcdef", 0, 2)` are both `"ab"`. A start past the end, or a length of
---0 or less, gives `""`.
---
---Usage text: `Usage: mid (string,start,length)`
---@param string string
---@param start integer
---@param length integer
---@return string
function mid(string, start, length) end

---string1 with string2 inserted at position start.
---
---string1 with string2 inserted so that it begins at position start:
---`insert("abc", "XY", 2)` is `"aXYbc"`. A start of 0 or less puts string2
---first, and a start past the end appends it.
---
---Usage text: `Usage: insert (string1,string2,start)`
---@param string1 string
---@param string2 string
---@param start integer
---@return string
function insert(string1, string2, start) end

---Upper case, byte by byte (Latin-1).
---
---Byte by byte, in the Latin-1 (ISO 8859-1) case tables: a–z and the accented
---letters 0xE0–0xFE (except 0xF7) change case, 0xFF becomes `Y`, and ß (0xDF)
---stays. These tables don't know UTF-8: `lowercase` changes the lead byte 0xC3
---of "É" to 0xE3 and breaks the character. Use them on ASCII or Latin-1 text.
---
---Usage text: `Usage: uppercase (string)`
---@param string string
---@return string
function uppercase(string) end

---Lower case, byte by byte (Latin-1).
---
---Byte by byte, in the Latin-1 (ISO 8859-1) case tables: a–z and the accented
---letters 0xE0–0xFE (except 0xF7) change case, 0xFF becomes `Y`, and ß (0xDF)
---stays. These tables don't know UTF-8: `lowercase` changes the lead byte 0xC3
---of "É" to 0xE3 and breaks the character. Use them on ASCII or Latin-1 text.
---
---Usage text: `Usage: lowercase (string)`
---@param string string
---@return string
function lowercase(string) end

---Local time as "hh:nn:ss".
---
---Local time as `"hh:nn:ss"` (`"09:05:03"`) and local date as `"yyyy-mm-dd"`
---(`"2026-12-08"`).
---@return string
function time() end

---Local date as "yyyy-mm-dd".
---
---Local time as `"hh:nn:ss"` (`"09:05:03"`) and local date as `"yyyy-mm-dd"`
---(`"2026-12-08"`).
---@return string
function date() end

-- Files, directories and programs

---Opens a text file with mode "r", "w" or "a" and returns its handle.
---
---Opens a text file and returns its handle. The mode is one letter in either
---case:
---- `"r"` reads an existing file;
---- `"w"` creates or empties the file;
---- `"a"` appends to an **existing** file.
---
---Any other mode (`"rw"`, `"read"`, `""`) still returns a handle but opens
---nothing, and every later use of that handle ends the run. If the file can't
---be opened (missing, a directory opened with `"r"`, a missing directory, no
---permission), the box "Error" shows `File not found: NAME` and the run ends
---with status 0. The text says "File not found" for write failures too.
---Names longer than 255 bytes are cut. Usage text:
---"Usage: open (file, "r/w/a")".
---@param file string
---@param mode string
---@return integer # file handle
function open(file, mode) end

---Closes the file.
---
---Closes the file and writes out pending data. Closing it again ends the run
---(`File not open`).
---
---Usage text: `Usage: close (file)`
---@param file integer
function close(file) end

---Writes text and a line end to the file.
---
---Writes text and one LF. Usage text: "Usage: fprint (file, text)".
---@param file integer
---@param text string|number
function fprint(file, text) end

---Reads the next line of the file, without its line end.
---
---Reads the next line without its terminator. At the end of the file it
---returns `""`. A file holding `a` LF `b` LF reads `"a"`, `"b"`, then `""`.
---
---Usage text: `Usage: finput (file)`
---@param file integer
---@return string
function finput(file) end

---True when the file has no more bytes to read.
---
---True when the file opened for reading has no more bytes. It is true right
---after the last line is read, so loop with
---`while not eof(f) do local line = finput(f) ... end`.
---
---Usage text: `Usage: eof (file)`
---@param file integer
---@return boolean
function eof(file) end

---True when the next byte is a line end, or at the end of the file.
---
---True when the next byte is LF or CR, or at the end of the file. On a file
---that is not open for reading it returns true and raises nothing, though a
---handle never issued still ends the run.
---
---Usage text: `Usage: eoln (file)`
---@param file integer
---@return boolean
function eoln(file) end

---True when anything exists at the path.
---
---True when anything exists at the path (directories included), and true only
---for directories (symbolic links are followed). They never fail.
---
---Usage text: `Usage: fileexists (file)`
---@param file string
---@return boolean
function fileexists(file) end

---True when a directory exists at the path.
---
---True when anything exists at the path (directories included), and true only
---for directories (symbolic links are followed). They never fail.
---
---Usage text: `Usage: directoryexists (directory)`
---@param directory string
---@return boolean
function directoryexists(directory) end

---Creates a directory.
---
---Create one directory (parents are not created), remove an empty directory,
---change the working directory, or delete a file. On failure a box "Error"
---shows `Error generating directory: NAME`, `Error removing directory: NAME`,
---`Error changing to directory: NAME` or `Error removing file: NAME`, and **the
---script continues**. `changedir("")` does nothing. `changedir` also changes
---where images, sounds and files are looked up.
---
---Usage text: `Usage: makedir (dirname)`
---@param dirname string
function makedir(dirname) end

---Removes an empty directory.
---
---Create one directory (parents are not created), remove an empty directory,
---change the working directory, or delete a file. On failure a box "Error"
---shows `Error generating directory: NAME`, `Error removing directory: NAME`,
---`Error changing to directory: NAME` or `Error removing file: NAME`, and **the
---script continues**. `changedir("")` does nothing. `changedir` also changes
---where images, sounds and files are looked up.
---
---Usage text: `Usage: removedir (dirname)`
---@param dirname string
function removedir(dirname) end

---Changes the working directory.
---
---Create one directory (parents are not created), remove an empty directory,
---change the working directory, or delete a file. On failure a box "Error"
---shows `Error generating directory: NAME`, `Error removing directory: NAME`,
---`Error changing to directory: NAME` or `Error removing file: NAME`, and **the
---script continues**. `changedir("")` does nothing. `changedir` also changes
---where images, sounds and files are looked up.
---
---Usage text: `Usage: changedir (dirname)`
---@param dirname string
function changedir(dirname) end

---Deletes a file.
---
---Create one directory (parents are not created), remove an empty directory,
---change the working directory, or delete a file. On failure a box "Error"
---shows `Error generating directory: NAME`, `Error removing directory: NAME`,
---`Error changing to directory: NAME` or `Error removing file: NAME`, and **the
---script continues**. `changedir("")` does nothing. `changedir` also changes
---where images, sounds and files are looked up.
---
---Usage text: `Usage: deletefile (filename)`
---@param filename string
function deletefile(filename) end

---Runs a program without a shell and returns its standard output.
---
---Runs a program, waits for it to end, and returns its standard output with
---every line ended by one LF. Output without a final line end gains one, and
---no output gives `""`.
---- **No shell is used.** The command line is split into words at blanks
---  (spaces, tabs, line ends). Single or double quotes group blanks into a
---  word, and the quotes are removed. There are no wildcards, variables,
---  pipes or redirections. Run `system("sh -c 'ls *.txt'")` if you need a
---  shell.
---- The first word is the program. An existing file at that path (relative to
---  the working directory) runs as it is. Otherwise the name is searched for
---  among the executable files of the `PATH` directories.
---- The program inherits the environment and working directory. Its input is
---  closed at once, so a program reading input sees the end.
---- Both its output pipes are read while it runs, so large outputs never block
---  it. Its error output and exit status are dropped.
---
---Failures end the run with status 217:
---- `Cannot execute empty command-line`;
---- `Executable not found: "prog"`;
---- `Failed to execute "prog", error code: N`, with the system error number,
---  e.g. 13 for a file without execute permission or 8 for a file that is
---  neither a program nor a `#!` script.
---
---Usage text: `Usage: system (filename)`
---@param filename string
---@return string
function system(filename) end

---The command line, each argument followed by a space.
---
---The command line: every argument, the executable first, each followed by one
---space. For `vorlune game.lua -x` it is the vorlune path as typed, a space,
---`game.lua`, a space, `-x` and a space. Split it with
---`for word in arguments():gmatch("%S+") do ... end`.
---@return string
function arguments() end

---Always "Linux32".
---
---Always `"Linux32"`.
---@return string
function ostype() end
