// Scenes: a note's scene played through by clicks, its picture faded in,
// and scenes whose picture or text is missing ending on their own.
import {mkdirSync, readFileSync} from 'node:fs';
import {join} from 'node:path';
import {
    assert, assertEqual, build, clickLink, cp932, enterGame, idle, newPageAfter, state, test, velarc, worldDir,
} from './lib.mjs';

const e2e = join(build, 'web-e2e');

// Byte offset of pixel (x, y), counted from the top left, in a bottom-up 24-bit .bmp.
function pixelAt(bmp, x, y) {
    const width = bmp.readInt32LE(18);
    const height = bmp.readInt32LE(22);
    const row = Math.floor((width * 3 + 3) / 4) * 4;
    const at = bmp.readUInt32LE(10) + (height - 1 - y) * row + x * 3;
    return [bmp[at + 2], bmp[at + 1], bmp[at]];  // red, green, blue
}

// The darkest pixel of a 640 x 480 picture: the one a fade from white moves most.
function darkestPixel(bmp) {
    let best = {x: 0, y: 0, sum: 766};
    for (let y = 0; y < 480; y += 4) {
        for (let x = 0; x < 640; x += 4) {
            const sum = pixelAt(bmp, x, y).reduce((a, b) => a + b);
            if (sum < best.sum) best = {x, y, sum};
        }
    }
    return {x: best.x, y: best.y, colour: pixelAt(bmp, best.x, best.y)};
}

// Records what the game draws into the scene's windows: the texts with
// their cells, the clears, and one pixel of every picture frame.
async function watchScene(page, pixel) {
    await page.evaluate(({x, y}) => {
        const log = window.sceneLog = {texts: [], frames: []};
        const {drawText, drawPicture, clear} = VelmoraScene;
        VelmoraScene.drawText = (bytes, xs, top) => {
            log.texts.push({text: Cp932.decode(bytes), xs: Array.from(xs), y: top});
            drawText(bytes, xs, top);
        };
        VelmoraScene.clear = () => {
            log.texts.push({clear: true});
            clear();
        };
        VelmoraScene.drawPicture = (rgba, width, height) => {
            const at = (y * width + x) * 4;
            log.frames.push([rgba[at], rgba[at + 1], rgba[at + 2]]);
            drawPicture(rgba, width, height);
        };
    }, pixel);
}

const scene = (page) => page.evaluate(() => window.velmora.scene());
const until = (page, condition, arg) => page.waitForFunction(condition, arg, {timeout: 15000});

test('Scene.a_note_types_its_lines_waits_for_clicks_fades_its_picture_in_and_out_and_closes', async (run) => {
    const page = await run.game();
    await newPageAfter(page, () => page.evaluate(() => window.velmora.open('sugatop.htm')));
    const before = await page.evaluate(() => document.getElementById('page').toDataURL());
    const picture = darkestPixel(await velarc('extract', join(worldDir, 'cg.arc'), 'pict0100.bmp'));
    const lines = cp932(await velarc('extract', join(worldDir, 'Text.arc'), 'suga00.txt'))
        .split(/\r?\n/).filter((l) => l !== '' && l.charCodeAt(0) > 0x7f);
    assertEqual(lines.length, 4, 'the used lines of suga00.txt');
    await watchScene(page, picture);
    // Hold the game's timers after the fade's fifth frame (k = 4), for a screenshot.
    await page.evaluate(() => {
        const draw = VelmoraScene.drawPicture;
        VelmoraScene.drawPicture = (...args) => {
            draw(...args);
            if (window.sceneLog.frames.length !== 6) return;
            const real = window.setTimeout;
            const held = [];
            window.setTimeout = (fn, ms) => { held.push([fn, ms]); return 0; };
            window.releaseScene = () => {
                window.setTimeout = real;
                for (const [fn, ms] of held) real(fn, ms);
            };
        };
    });

    await clickLink(page, 'suga00.htm');
    await until(page, () => typeof window.releaseScene === 'function');
    const mid = await scene(page);
    assertEqual(mid, {open: true, waiting: false, fading: true, picture: true}, 'the scene mid-fade');
    // Saved as the scene began: a tab closed now keeps the note read.
    const stored = await page.evaluate(() => Array.from(atob(localStorage.getItem('velmora.dat')), (c) => c.charCodeAt(0)));
    assert(Buffer.from(stored).includes('suga00.htm'), 'the save kept as the scene began lacks suga00.htm');
    // What a closed tab saves, asked of the game while the scene waits.
    assertEqual(await page.evaluate(() => window.velmora.saveBytes()), stored, 'the save made mid-scene');
    mkdirSync(e2e, {recursive: true});
    await page.screenshot({path: join(e2e, 'scene-mid-fade.png')});
    await page.evaluate(() => window.releaseScene());

    // The picture window stands right on top of the message window.
    const pictureBox = await page.locator('#picture-window').boundingBox();
    const messageBox = await page.locator('#message-window').boundingBox();
    assertEqual(Math.round(pictureBox.y + pictureBox.height), Math.round(messageBox.y), 'the picture window\'s bottom');
    assertEqual(await page.$eval('#message-canvas', (c) => [c.width, c.height]), [329, 140], 'the message canvas');

    // The browser behind takes no clicks and no keys; Enter and Escape leave the scene open.
    const link = (await page.locator('#page').boundingBox());
    await page.mouse.click(link.x + 40, link.y + 232);  // the link to suga00.htm itself
    await page.keyboard.press('Escape');
    await page.keyboard.press('Escape');
    await page.keyboard.press('Enter');

    // Clicks while the line is typed do nothing: it still waits for one after it is out.
    await until(page, () => window.sceneLog.texts.filter((t) => !t.clear).length >= 4);  // the label and three
    await page.click('#message-canvas');
    await page.click('#message-canvas');
    await until(page, () => window.velmora.scene().waiting);
    const typedAt = (await page.evaluate(() => window.sceneLog.texts.length));
    // The first blink erases the mark's cell, the second draws "▼"; the line still waits.
    await until(page, (n) => window.sceneLog.texts.length >= n + 2, typedAt);
    assertEqual(await scene(page), {open: true, waiting: true, fading: false, picture: true}, 'after two blinks');
    await page.screenshot({path: join(e2e, 'scene.png')});

    // Nine frames from white to the picture, k / 8 of the way each, rounding down.
    const frames = await page.evaluate(() => window.sceneLog.frames);
    const expected = [0, 1, 2, 3, 4, 5, 6, 7, 8].map((k) =>
        picture.colour.map((c) => 255 + Math.floor((c - 255) * k / 8)));
    assertEqual(frames.slice(1, 10), expected, `the fade's frames at (${picture.x}, ${picture.y})`);
    assertEqual(frames[10], picture.colour, 'the frame that ends the fade');

    // The label is drawn at once at the top left, then wiped; the text starts below it.
    const texts = await page.evaluate(() => window.sceneLog.texts);
    assertEqual(texts.slice(0, 3).map((t) => t.clear ? 'clear' : [t.text, t.xs[0], t.y]),
                ['clear', [lines[1], 0, 0], 'clear'], 'the label, then the wipe');
    const typed = texts.slice(3, 3 + Array.from(lines[2]).length);
    assertEqual(typed.map((t) => t.text).join(''), lines[2], 'the characters typed');
    assertEqual([typed[0].xs[0], typed[0].y], [10, 28], 'the first character');
    // Rows of 19 characters: the 20th would cross the right limit (329 - 16).
    assertEqual(typed.slice(18, 20).map((t) => [t.xs[0], t.y]), [[298, 28], [10, 49]], 'the row break');
    assertEqual(texts.slice(3 + typed.length, 3 + typed.length + 2).map((t) => t.text), ['　', '▼'],
                'the end mark');

    // Two clicks through the last line: the picture fades to white and the window closes.
    await page.click('#message-canvas');
    await until(page, () => window.velmora.scene().waiting);
    await page.click('#message-canvas');
    await until(page, () => !window.velmora.scene().open);
    await idle(page);
    const white = await page.evaluate(() => window.sceneLog.frames.at(-1));
    assertEqual(white, [255, 255, 255], 'the last frame');
    assertEqual(await page.evaluate(() => window.sceneLog.frames.length), 21, 'the frames drawn');
    assert(await page.isHidden('#scene-layer'), 'the scene\'s windows are still shown');
    const after = await state(page);
    assertEqual(after.page, 'sugatop.htm', 'the page after the scene');
    assert(after.visited.includes('suga00.htm'), 'suga00.htm is not visited');
    // Only the link changed colour: the rest of the page is as it was.
    const changed = await page.evaluate(async (url) => {
        const load = (src) => new Promise((resolve) => { const i = new Image(); i.onload = () => resolve(i); i.src = src; });
        const [a, b] = [await load(url), document.getElementById('page')];
        const c = document.createElement('canvas');
        c.width = b.width;
        c.height = b.height;
        const x = c.getContext('2d');
        x.drawImage(a, 0, 0);
        const old = x.getImageData(0, 0, c.width, c.height).data;
        const now = b.getContext('2d').getImageData(0, 0, c.width, c.height).data;
        let box = null;
        for (let i = 0; i < old.length; i += 4) {
            if (old[i] === now[i] && old[i + 1] === now[i + 1] && old[i + 2] === now[i + 2]) continue;
            const px = (i / 4) % c.width;
            const py = Math.floor(i / 4 / c.width);
            box = box ? [Math.min(box[0], px), Math.min(box[1], py), Math.max(box[2], px), Math.max(box[3], py)]
                : [px, py, px, py];
        }
        return box;
    }, before);
    assert(changed === null || (changed[0] >= 28 && changed[2] < 28 + 48 && changed[1] >= 226 && changed[3] < 226 + 13),
           `the page changed outside the link: ${changed}`);
}, {timeout: 90000});

// An archive of the world with one entry's name changed in its table: the
// game no longer finds the entry.
function renamed(archive, from, to) {
    const bytes = readFileSync(join(worldDir, archive));
    const at = bytes.indexOf(from);
    assert(at >= 0 && bytes.indexOf(from, at + 1) < 0, `${from} is not named once in ${archive}`);
    bytes.write(to, at, 'latin1');
    return bytes;
}

test('Scene.a_missing_picture_passes_without_a_fade_and_a_missing_text_ends_on_its_own', async (run) => {
    // suga09.txt's picture (pict0100.bmp, also the picture window's format
    // picture) and the whole of suga01.txt gone.
    const served = {'Text.arc': renamed('Text.arc', 'suga01.txt', 'suga91.txt'),
                    'cg.arc': renamed('cg.arc', 'pict0100.bmp', 'pict9100.bmp')};
    const page = await run.open({url: 'about:blank'});
    for (const [name, body] of Object.entries(served)) {
        await page.route(`**/${name}`, (route) => route.fulfill({body, contentType: 'application/octet-stream'}));
    }
    await page.goto(run.url);
    await enterGame(page);
    await newPageAfter(page, () => page.evaluate(() => window.velmora.open('sugatop.htm')));

    // What the scene's windows went through, in order.
    await page.evaluate(() => {
        window.sceneEvents = [];
        const {open, showPicture, setStatus, close} = VelmoraScene;
        const note = (event) => window.sceneEvents.push(event);
        VelmoraScene.open = (...args) => { note('open'); return open(...args); };
        VelmoraScene.showPicture = () => { note('picture'); showPicture(); };
        VelmoraScene.setStatus = (waiting, fading) => {
            if (waiting) note('waiting');
            if (fading) note('fading');
            setStatus(waiting, fading);
        };
        VelmoraScene.close = () => { note('close'); close(); };
    });
    const expected = {
        'suga01.htm': ['open', 'fading', 'close'],  // an empty text: only the closing fade, unseen
        'suga09.htm': ['open', 'waiting', 'waiting', 'fading', 'close'],  // no picture to fade in
    };
    for (const [note, events] of Object.entries(expected)) {
        await page.evaluate(() => { window.sceneEvents = []; });
        await clickLink(page, note);
        for (const event of events.filter((e) => e === 'waiting')) {
            await until(page, () => window.velmora.scene().waiting);
            await page.click('#message-canvas');
        }
        await idle(page);  // the scene runs inside the click
        assertEqual(await page.evaluate(() => window.sceneEvents), events, `what ${note}'s scene went through`);
        assertEqual(await scene(page), {open: false, waiting: false, fading: false, picture: false}, `after ${note}`);
        assertEqual((await state(page)).page, 'sugatop.htm', `the page after ${note}`);
    }
    assert(await page.isHidden('#message-dialog'), 'a message about the missing files');
}, {timeout: 60000});
