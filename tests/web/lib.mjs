// What the web tests share: the static server on a free port, headless
// Debian Chromium driven by playwright-core, and waits on the game's state.
import {spawn} from 'node:child_process';
import {once} from 'node:events';
import {dirname, join, resolve} from 'node:path';
import {fileURLToPath} from 'node:url';
import {chromium} from 'playwright-core';

export const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
export const build = process.env.BUILD_DIR || join(root, 'build');
export const webDir = process.env.VELMORA_WEB_DIR || join(build, 'web');

// Serves `dir`; resolves with {url, stop}.
export async function serve(dir = webDir) {
    const server = spawn(process.execPath, [join(root, 'scripts/serve-web.mjs'), dir, '0'],
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
