// The web edition in headless Chromium: how long a fresh load takes to the
// title's first frame, how long a click takes to draw the page it opens, what
// a scene's fade step and typewriter tick take of their timers' periods, and
// what the build weighs on disk, on the wire and compressed.
// node tests/bench/web/bench.mjs (BUILD_DIR or VELMORA_WEB_DIR name the build).
import {existsSync, readFileSync, readdirSync, statSync} from 'node:fs';
import {join} from 'node:path';
import {brotliCompressSync, constants as zlib, gzipSync} from 'node:zlib';
import {enterGame, idle, launch, openGame, serve, webDir} from '../../web/lib.mjs';

const LOADS = 5;
const CLICKS = 30;
// Clicks timed again with the page's drawing calls timed one by one.
const PROFILED_CLICKS = 10;
// A home line for the throttled load: what the wire alone costs.
const LINE = {mbits: 20, latencyMs: 20};

const median = (xs) => {
    const s = [...xs].sort((a, b) => a - b);
    return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};
const ms = (x) => x.toFixed(1);
const spread = (xs) => `${ms(Math.min(...xs))} to ${ms(Math.max(...xs))}`;

function fail(message) {
    console.error(`web bench: ${message}`);
    process.exitCode = 1;
}

// --- From navigation to the title's first frame --------------------------------

// One load in a new context: nothing cached. Times are from navigation start.
async function titleLoad(browser, url, line = null, refuse = null) {
    const page = await openGame(browser, 'about:blank');
    try {
        if (refuse) await page.route(`**/${refuse}`, (route) => route.abort());
        if (line) {
            const cdp = await page.context().newCDPSession(page);
            await cdp.send('Network.enable');
            await cdp.send('Network.emulateNetworkConditions', {
                offline: false,
                latency: line.latencyMs,
                downloadThroughput: line.mbits * 1e6 / 8,
                uploadThroughput: line.mbits * 1e6 / 8,
            });
        }
        await page.goto(url);
        await page.waitForFunction(() => window.velmora && window.velmora.titleFrames() > 0, null,
                                   {timeout: 120000});
        return await page.evaluate(() => {
            const [mark] = performance.getEntriesByName('velmora-title-frame');
            // Where each file's last byte came, for what the title waited on.
            const ended = {};
            for (const r of performance.getEntriesByType('resource')) {
                const name = new URL(r.name).pathname.slice(1);
                ended[name] = Math.max(ended[name] || 0, r.responseEnd);
            }
            return {frame: mark ? mark.startTime : null, ended};
        });
    } finally {
        await page.context().close();
    }
}

const ARCHIVES = ['cg.arc', 'ex.arc', 'Text.arc', 'parts.arc'];
// When the last of the files `pick` chooses came in.
const lastByte = (load, pick) =>
    Math.max(0, ...Object.entries(load.ended).filter(([name]) => pick(name)).map(([, at]) => at));

async function benchTitle(browser, url) {
    const loads = [];
    for (let i = 0; i < LOADS; i++) loads.push(await titleLoad(browser, url));
    // The title needs the archives, not the page face, which comes in beside them.
    const slow = await titleLoad(browser, url, LINE);
    const fontless = await titleLoad(browser, url, LINE, 'fonts/ipag.ttf');
    if ([...loads, slow, fontless].some((l) => l.frame === null)) {
        fail('a load drew the title without its performance mark');
        return;
    }
    const frames = loads.map((l) => l.frame);
    console.log(`navigation to the title's first frame: ${ms(median(frames))} ms ` +
                `(median of ${LOADS} fresh loads; ${spread(frames)})`);
    const at = (pick) => ms(median(loads.map((l) => lastByte(l, pick))));
    console.log(`  last bytes in: the scripts at ${at((n) => n.endsWith('.js'))} ms, ` +
                `velmora.wasm at ${at((n) => n === 'velmora.wasm')} ms, ` +
                `the font at ${at((n) => n === 'fonts/ipag.ttf')} ms, ` +
                `the archives at ${at((n) => ARCHIVES.includes(n))} ms, ` +
                `the chrome's pictures at ${at((n) => n.startsWith('art/'))} ms`);
    const s = (x) => (x / 1000).toFixed(1);
    const archives = (l) => s(lastByte(l, (n) => ARCHIVES.includes(n)));
    console.log(`  on a ${LINE.mbits} Mbit/s line with ${LINE.latencyMs} ms latency (one load each): ` +
                `${s(slow.frame)} s to the title, the archives in at ${archives(slow)} s, the font at ` +
                `${s(lastByte(slow, (n) => n === 'fonts/ipag.ttf'))} s; with the font refused ` +
                `${s(fontless.frame)} s, the archives in at ${archives(fontless)} s`);
}

// --- From a click to the page drawn ----------------------------------------------

// The page's own timings of the next press: from the mousedown's dispatch
// (and the mouseup's) to the first page drawn after it.
async function timedPress(page, press) {
    const before = await page.evaluate(() => {
        window.benchDown = window.benchUp = null;
        return window.velmora.pagesDrawn();
    });
    await press();
    await page.waitForFunction((n) => window.velmora.pagesDrawn() > n, before, {timeout: 20000});
    await idle(page);
    const timed = await page.evaluate((n) => {
        const down = window.benchDown;
        const drawn = down === null ? undefined
            : performance.getEntriesByName('velmora-page-drawn').find((m) => m.startTime >= down);
        if (!drawn) return null;
        return {
            ms: drawn.startTime - down,
            fromUp: drawn.startTime - window.benchUp,
            draws: window.velmora.pagesDrawn() - n,
            page: window.velmora.state().page,
            profile: window.benchProfile ? window.benchProfile.take() : null,
        };
    }, before);
    if (!timed) throw new Error('a page was drawn with no mousedown, or no mark, before it');
    return timed;
}

function links(dump) {
    return dump.split('\n').filter((l) => l.startsWith('{"link"')).map((l) => JSON.parse(l).link);
}

// A game past its title with every mousedown and mouseup timed as the page sees them.
async function gameAt(browser, url, profiled) {
    const page = await openGame(browser, 'about:blank');
    if (profiled) await page.addInitScript(profileDrawing);
    await page.goto(url);
    await enterGame(page);
    await page.evaluate(() => {
        window.addEventListener('mousedown', () => { window.benchDown = performance.now(); }, true);
        window.addEventListener('mouseup', () => { window.benchUp = performance.now(); }, true);
    });
    return page;
}

// Runs in the page before its scripts: wraps the drawing calls the game makes
// into the page, timing each kind. Only for the profiled clicks: the plain
// figures come from pages left as they are.
function profileDrawing() {
    const kinds = ['drawPicture', 'drawCharacters', 'fillRect', 'drawEdge', 'pagePainted'];
    const fresh = () => Object.fromEntries(kinds.map((k) => [k, {calls: 0, ms: 0, pixels: 0}]));
    let stats = fresh();
    window.benchProfile = {take: () => { const s = stats; stats = fresh(); return s; }};
    let factory;
    Object.defineProperty(window, 'createVelmora', {
        configurable: true,
        get: () => factory,
        set(original) {
            factory = (options) => {
                for (const kind of kinds) {
                    const call = options.shell[kind];
                    options.shell[kind] = function (...args) {
                        const start = performance.now();
                        try {
                            return call.apply(this, args);
                        } finally {
                            const s = stats[kind];
                            s.calls++;
                            s.ms += performance.now() - start;
                            if (kind === 'drawPicture') s.pixels += args[6] * args[7];
                        }
                    };
                }
                return original(options);
            };
        },
    });
}

// Link clicks from the home page and Back again, each kind timed alone.
async function clickRounds(page, rounds) {
    const home = (await page.evaluate(() => window.velmora.state())).page;
    const link = links(await page.evaluate(() => window.velmoraDump()))
        .find((l) => l.kind === 1 && l.target !== home && /\.html?$/i.test(l.target));
    if (!link) throw new Error(`no text link to another page on ${home}`);
    const clicks = [];
    const backs = [];
    for (let i = 0; i < rounds; i++) {
        const box = await page.locator('#page').boundingBox();
        const click = await timedPress(page, () =>
            page.mouse.click(box.x + link.x + link.width / 2, box.y + link.y + link.height / 2));
        if (click.page !== link.target) {
            throw new Error(`the link to ${link.target} on ${home} opened ${click.page}`);
        }
        clicks.push(click);
        const back = await timedPress(page, () => page.click('#go-back'));
        if (back.page !== home) throw new Error(`Back from ${link.target} opened ${back.page}, not ${home}`);
        backs.push(back);
    }
    return {home, target: link.target, clicks, backs};
}

function reportPresses(what, presses) {
    const times = presses.map((p) => p.ms);
    const extra = presses.some((p) => p.draws !== 1) ? `; drawn ${Math.max(...presses.map((p) => p.draws))} times` : '';
    console.log(`${what}: ${ms(median(times))} ms (median of ${times.length}; ${spread(times)}); ` +
                `from the mouseup ${ms(median(presses.map((p) => p.fromUp)))} ms${extra}`);
}

function reportProfile(what, presses) {
    const total = median(presses.map((p) => p.ms));
    const part = (kind) => median(presses.map((p) => p.profile[kind].ms));
    const count = (kind) => presses[0].profile[kind].calls;
    const pictures = part('drawPicture');
    const pixels = presses[0].profile.drawPicture.pixels;
    const text = part('drawCharacters');
    const shown = part('pagePainted');
    // What no drawing call took: the game itself (in WebAssembly) and the glue.
    const rest = median(presses.map((p) => p.ms - Object.values(p.profile).reduce((a, k) => a + k.ms, 0)));
    console.log(`  ${what}, its drawing calls timed (median of ${presses.length}, ${ms(total)} ms in all): ` +
                `pictures ${ms(pictures)} ms (${count('drawPicture')} drawn, ${(pixels / 1e6).toFixed(2)} ` +
                `Mpixels converted), text ${ms(text)} ms (${count('drawCharacters')} runs), copy to the ` +
                `view ${ms(shown)} ms, the game and the rest ${ms(rest)} ms`);
}

async function benchClicks(browser, url) {
    let page = await gameAt(browser, url, false);
    try {
        const {home, target, clicks, backs} = await clickRounds(page, CLICKS);
        reportPresses(`click on a link to its page drawn (${home} to ${target})`, clicks);
        reportPresses(`Back button to the page drawn (${target} to ${home})`, backs);
    } finally {
        await page.context().close();
    }
    page = await gameAt(browser, url, true);
    try {
        const {clicks, backs} = await clickRounds(page, PROFILED_CLICKS);
        reportProfile('the link', clicks);
        reportProfile('Back', backs);
    } finally {
        await page.context().close();
    }
}

// --- A scene's two animations ----------------------------------------------------

// The notes of the writer's page played through, a click whenever a line waits
// for one; the page times each cross-fade step (blend, conversion and drawing
// of the 640 x 480 picture) and each typewriter tick (measure and draw) inside
// the game, against the periods of their timers.
const SCENE_NOTES = ['suga00.htm', 'suga01.htm', 'suga09.htm'];
const FADE_PERIOD_MS = 10;
const TYPE_PERIOD_MS = 40;

async function benchScene(browser, url) {
    const page = await openGame(browser, url);
    try {
        await enterGame(page);
        const before = await page.evaluate(() => window.velmora.pagesDrawn());
        await page.evaluate(() => window.velmora.open('sugatop.htm'));
        await page.waitForFunction((n) => window.velmora.pagesDrawn() > n, before);
        await idle(page);
        const dump = links(await page.evaluate(() => window.velmoraDump()));
        for (const note of SCENE_NOTES) {
            const link = dump.find((l) => l.target === note);
            if (!link) throw new Error(`no link to ${note} on sugatop.htm`);
            const box = await page.locator('#page').boundingBox();
            await page.mouse.click(box.x + link.x + link.width / 2, box.y + link.y + link.height / 2);
            await page.waitForFunction(() => window.velmora.scene().open, null, {timeout: 10000});
            for (;;) {
                await page.waitForFunction(() => !window.velmora.scene().open || window.velmora.scene().waiting,
                                           null, {timeout: 20000});
                if (!(await page.evaluate(() => window.velmora.scene().open))) break;
                await page.click('#message-canvas');
                await page.waitForFunction(() => !window.velmora.scene().waiting, null, {timeout: 10000});
            }
            await idle(page);
        }
        const {fadeSteps, typeTicks} = await page.evaluate(() => VelmoraScene.timings());
        if (fadeSteps.length === 0 || typeTicks.length === 0) throw new Error('the scenes timed no fade step or tick');
        const share = (x, period) => `${(x / period * 100).toFixed(0)}%`;
        const line = (what, xs, period) => console.log(
            `${what}: ${ms(median(xs))} ms median, ${ms(Math.max(...xs))} ms max ` +
            `(${share(median(xs), period)} and ${share(Math.max(...xs), period)} of its ${period} ms period; ` +
            `${xs.length} timed over ${SCENE_NOTES.length} scenes)`);
        line('scene cross-fade step (blend, convert and draw 640 x 480)', fadeSteps, FADE_PERIOD_MS);
        line('scene typewriter tick (measure and draw a character)', typeTicks, TYPE_PERIOD_MS);
    } finally {
        await page.context().close();
    }
}

// --- What the build weighs ---------------------------------------------------------

const FILES = ['velmora.wasm', 'velmora.js', 'brivane.js', 'cp932.js', 'index.html', 'brivane.css',
               'cg.arc', 'ex.arc', 'Text.arc', 'parts.arc', 'fonts/ipag.ttf'];

// What one load through the title into the home page fetched: per path, the
// bytes on the wire (headers and body) and how many requests.
async function transferred(browser, url) {
    const page = await openGame(browser, 'about:blank');
    const sizes = [];
    page.on('requestfinished', (request) => sizes.push(request.sizes().then((s) => ({
        path: decodeURIComponent(new URL(request.url()).pathname.slice(1)) || 'index.html',
        bytes: s.responseHeadersSize + s.responseBodySize,
    }))));
    try {
        await page.goto(url);
        await enterGame(page);
        await page.waitForLoadState('networkidle');
        const byPath = new Map();
        for (const {path, bytes} of await Promise.all(sizes)) {
            const seen = byPath.get(path) || {bytes: 0, requests: 0};
            byPath.set(path, {bytes: seen.bytes + bytes, requests: seen.requests + 1});
        }
        return byPath;
    } finally {
        await page.context().close();
    }
}

function compressed(bytes) {
    return {
        gzip: gzipSync(bytes).length,
        // Quality 6: what a server compressing on the fly uses.
        brotli: brotliCompressSync(bytes, {params: {[zlib.BROTLI_PARAM_QUALITY]: 6,
                                                    [zlib.BROTLI_PARAM_SIZE_HINT]: bytes.length}}).length,
    };
}

async function benchSizes(browser, url) {
    const wire = await transferred(browser, url);
    const column = (x, width = 10) => String(x).padStart(width);
    const line = (label, row) => console.log(`${label.padEnd(20)} ${column(row.disk)} ${column(row.wire, 12)} ` +
                                             `${column(row.gzip)} ${column(row.brotli)}`);
    const measure = (paths) => {
        const row = {disk: 0, wire: 0, gzip: 0, brotli: 0};
        for (const path of paths) {
            const file = join(webDir, path);
            if (existsSync(file)) {
                const bytes = readFileSync(file);
                const packed = compressed(bytes);
                row.disk += bytes.length;
                row.gzip += packed.gzip;
                row.brotli += packed.brotli;
            }
            row.wire += (wire.get(path) || {bytes: 0}).bytes;
        }
        return row;
    };
    const sum = (rows) => rows.reduce((t, r) => ({disk: t.disk + r.disk, wire: t.wire + r.wire,
                                                 gzip: t.gzip + r.gzip, brotli: t.brotli + r.brotli}));

    console.log(`\n${'file'.padEnd(20)} ${column('disk')} ${column('on the wire', 12)} ${column('gzip -6')} ` +
                `${column('brotli -6')}`);
    const core = FILES.map((name) => {
        const row = measure([name]);
        line(name, row);
        return row;
    });
    const total = sum(core);
    line('total', total);
    // Fetched too, by the chrome and the title: its pictures and what it plays
    // (a page's sound only when it came in before the load went quiet).
    const listed = new Set(FILES);
    const art = [...wire.keys()].filter((p) => p.startsWith('art/'));
    const others = [...wire.keys()].filter((p) => !listed.has(p) && !p.startsWith('art/')).sort();
    const extra = [];
    if (art.length) {
        extra.push(measure(art));
        line(`art/*.bmp (${art.length})`, extra.at(-1));
    }
    for (const path of others) {
        extra.push(measure([path]));
        line(path, extra.at(-1));
    }
    const all = sum([total, ...extra]);
    const requests = [...wire.values()].reduce((a, b) => a + b.requests, 0);
    const mb = (x) => (x / 1e6).toFixed(2);
    const less = (x) => `-${((1 - x / total.disk) * 100).toFixed(0)}%`;
    console.log(`the files of the total: ${mb(total.disk)} MB; gzip would make them ${mb(total.gzip)} MB ` +
                `(${less(total.gzip)}), brotli ${mb(total.brotli)} MB (${less(total.brotli)})`);
    console.log(`one load into the home page: ${requests} requests, ${mb(all.wire)} MB on the wire; ` +
                `the whole build folder ${mb(folderSize(webDir))} MB on disk`);
}

function folderSize(dir) {
    return readdirSync(dir).reduce((sum, name) => {
        const path = join(dir, name);
        return sum + (statSync(path).isDirectory() ? folderSize(path) : statSync(path).size);
    }, 0);
}

// --- Start -------------------------------------------------------------------------

if (!existsSync(join(webDir, 'index.html')) || !existsSync(join(webDir, 'velmora.wasm'))) {
    console.error(`web bench: no web build in ${webDir} (make web)`);
    process.exit(2);
}
const server = await serve();
const browser = await launch();
try {
    await benchTitle(browser, server.url);
    await benchClicks(browser, server.url);
    await benchScene(browser, server.url);
    await benchSizes(browser, server.url);
} catch (e) {
    fail(e.message);
} finally {
    await browser.close();
    server.stop();
}
