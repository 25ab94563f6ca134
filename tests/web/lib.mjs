// What the web tests share: the static server on a free port, headless
// Debian Chromium driven by playwright-core, waits on the game's state, the
// project's tools, and the list of tests that run.mjs runs.
import {execFile, spawn} from 'node:child_process';
import {writeFileSync} from 'node:fs';
import {once} from 'node:events';
import {dirname, join, resolve} from 'node:path';
import {fileURLToPath} from 'node:url';
import {promisify} from 'node:util';
import {chromium} from 'playwright-core';

export const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
export const build = process.env.BUILD_DIR || join(root, 'build');
export const webDir = process.env.VELMORA_WEB_DIR || join(build, 'web');
// The Linux and Windows tools and the demo world the Windows edition reads.
export const velarcPath = process.env.VELARC || join(build, 'native/tools/velarc');
export const velrenderPath = process.env.VELRENDER || join(build, 'win/tools/velrender.exe');
export const worldDir = process.env.VELMORA_WORLD || join(build, 'game');

// Serves `dir`, at the path `base` if given; resolves with {url, stop}.
export async function serve(dir = webDir, base = null) {
    const server = spawn(process.execPath,
                         [join(root, 'scripts/serve-web.mjs'), dir, '0', ...(base ? ['--base', base] : [])],
                         {stdio: ['ignore', 'pipe', 'inherit']});
    const [line] = await once(server.stdout, 'data');
    return {url: line.toString().trim(), stop: () => server.kill()};
}

export async function launch() {
    return chromium.launch({
        executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
        headless: true,
        args: ['--autoplay-policy=no-user-gesture-required', '--no-sandbox'],
    });
}

// A new page at the game's address, the browser's window 1024 x 768.
export async function openGame(browser, url, options = {}) {
    const context = await browser.newContext({viewport: {width: 1024, height: 768}, acceptDownloads: true,
                                              ...options});
    const page = await context.newPage();
    page.on('pageerror', (error) => console.error('page error:', error.message));
    await page.goto(url);
    return page;
}

// Past the title screen into the browser, the home page shown.
export async function enterGame(page) {
    await page.waitForSelector('#title:not([hidden])', {timeout: 60000});
    await page.click('#title-canvas', {position: {x: 320, y: 240}});
    await page.waitForFunction(() => window.velmora && window.velmora.ready, null, {timeout: 60000});
    await idle(page);
}

// Until every call the page made into the game has returned.
export async function idle(page) {
    await page.evaluate(() => window.velmora.idle());
}

// Does `action` and waits until the game has drawn a page after it.
export async function newPageAfter(page, action) {
    const before = await page.evaluate(() => window.velmora.pagesDrawn());
    await action();
    await idle(page);
    try {
        await page.waitForFunction((n) => window.velmora.pagesDrawn() > n, before, {timeout: 10000});
    } catch {
        throw new Error(`no page drawn after the action; the page shown is ${(await state(page)).page}`);
    }
    await idle(page);
}

// The layout of a page as velmoraDump() and velrender --dump print it: one
// JSON object a line, gathered by kind; lines that are no such object in
// `unread`.
export function parseDump(text) {
    const layout = {page: null, link: [], run: [], table: [], control: [], picture: [], unread: []};
    for (const line of text.split(/\r?\n/)) {
        if (line.trim() === '') continue;
        let object = null;
        try {
            object = JSON.parse(line);
        } catch {
            // told below
        }
        const kind = object && Object.keys(object)[0];
        if (kind === 'page') layout.page = object.page;
        else if (Array.isArray(layout[kind]) && kind !== 'unread') layout[kind].push(object[kind]);
        else layout.unread.push(line);
    }
    return layout;
}

export async function layoutOf(page) {
    return parseDump(await page.evaluate(() => window.velmoraDump()));
}

// Clicks the middle of the first link to `target` on the page shown.
export async function clickLink(page, target) {
    const link = (await layoutOf(page)).link.find((l) => l.target === target);
    if (!link) throw new Error(`no link to ${target} on ${(await state(page)).page}`);
    await page.click('#page', {position: {x: link.x + Math.floor(link.width / 2),
                                          y: link.y + Math.floor(link.height / 2)}});
}

// The control of `kind` ("text" or "submit"; named `name` when given) in the
// page's dump, and the element the page placed for it, found where the dump
// puts it.
export async function control(page, kind, name) {
    const found = (await layoutOf(page)).control.find((c) => c.kind === kind && (name === undefined || c.name === name));
    assert(found, `no ${kind} control ${name ?? ''} on ${(await state(page)).page}`);
    const at = await page.$$eval('.page-control', (elements) => elements.map((e) => (
        {id: e.dataset.controlId, x: e.offsetLeft, y: e.offsetTop, width: e.offsetWidth, shown: !e.hidden})));
    const element = at.find((e) => e.shown && e.x === found.x && e.y === found.y && e.width === found.width);
    assert(element, `no element where the ${kind} control stands: ${JSON.stringify(found)} among ${JSON.stringify(at)}`);
    return page.locator(`.page-control[data-control-id="${element.id}"]`);
}

export async function state(page) {
    return page.evaluate(() => window.velmora.state());
}

// The shown message's text, once the message dialog is open.
export async function messageShown(page) {
    await page.waitForSelector('#message-dialog[open]');
    return page.textContent('#message-text');
}

const decoder = new TextDecoder('shift_jis');
export const cp932 = (bytes) => decoder.decode(bytes);

// velarc's output as bytes; throws with its standard error when it fails.
export async function velarc(...args) {
    const {stdout} = await promisify(execFile)(velarcPath, args, {encoding: 'buffer', maxBuffer: 64 << 20});
    return stdout;
}

// `velarc save` of the bytes: {fields: {NAME: VALUE}, lines}.
export async function readSave(bytes, folder) {
    const file = join(folder, 'velmora.dat');
    writeFileSync(file, Buffer.from(bytes));
    const lines = (await velarc('save', file)).toString('utf8').split('\n');
    const fields = {};
    for (const line of lines) {
        const at = line.indexOf(': ');
        if (at > 0) fields[line.slice(0, at)] = line.slice(at + 2);
    }
    return {fields, lines};
}

// The world's page table as the game reads it: file name -> {address, title}.
export async function pageTable() {
    const table = new Map();
    for (const line of cp932(await velarc('pages', worldDir)).split(/\r?\n/)) {
        const [, file, address, title] = line.split('\t');
        if (file) table.set(file, {address, title});
    }
    return table;
}

// The tests, in the order the files register them: test(NAME, FN, {timeout}).
// FN gets a TestRun (run.mjs): its pages are screenshot when the test fails.
export const tests = [];
export function test(name, fn, {timeout = 60000} = {}) {
    tests.push({name, fn, timeout});
}

export function assert(condition, message) {
    if (!condition) throw new Error(message);
}

export function assertEqual(actual, expected, what) {
    const a = JSON.stringify(actual);
    const e = JSON.stringify(expected);
    if (a !== e) throw new Error(`${what}: ${a}, expected ${e}`);
}
