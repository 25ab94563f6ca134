// Headless: the title and the browser, as screenshots in build/web-shots.
import {mkdirSync} from 'node:fs';
import {join} from 'node:path';
import {build, enterGame, launch, openGame, serve} from './lib.mjs';

const out = join(build, 'web-shots');
mkdirSync(out, {recursive: true});
const server = await serve();
const browser = await launch();
try {
    const page = await openGame(browser, server.url);
    await page.waitForFunction(() => window.velmora && window.velmora.titleFrames() > 0, null, {timeout: 60000});
    await page.screenshot({path: join(out, 'title.png')});
    await enterGame(page);
    await page.screenshot({path: join(out, 'browser.png')});
    console.log(`No display: Brivane ran headless. Screenshots:\n  ${join(out, 'title.png')}\n  ${join(out, 'browser.png')}`);
} finally {
    await browser.close();
    server.stop();
}
