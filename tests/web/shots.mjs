// Headless: the title and the browser, as screenshots in build/web-shots;
// with --all also a table page, a search's results and the favourites menu.
import {mkdirSync} from 'node:fs';
import {join} from 'node:path';
import {build, enterGame, idle, launch, openGame, serve} from './lib.mjs';

const all = process.argv.includes('--all');
const out = join(build, 'web-shots');
mkdirSync(out, {recursive: true});
const shots = [];
const server = await serve();
const browser = await launch();
try {
    const page = await openGame(browser, server.url);
    const shoot = async (name) => {
        const path = join(out, name + '.png');
        await page.screenshot({path});
        shots.push(path);
    };
    await page.waitForFunction(() => window.velmora && window.velmora.titleFrames() > 0, null,
                               {timeout: 60000});
    await shoot('title');
    await enterGame(page);
    await shoot('browser');
    if (all) {
        await page.evaluate(() => window.velmora.open('kyoudata.htm'));
        await idle(page);
        await shoot('table');
        await page.fill('#address', '');
        await page.evaluate(() => window.velmora.open('otop.htm'));
        await idle(page);
        const field = page.locator('input.page-control:visible').first();
        await field.fill('霧');
        await field.press('Enter');
        await idle(page);
        await shoot('search');
        await page.click('.menu[data-menu="favourites"] .menu-title');
        await page.click('[data-command="add-favourite"]');
        await page.click('#favourite-add-yes');
        await idle(page);
        await page.click('.menu[data-menu="favourites"] .menu-title');
        await shoot('favourites-menu');
    }
    console.log(`No display: Brivane ran headless. Screenshots:\n  ${shots.join('\n  ')}`);
} finally {
    await browser.close();
    server.stop();
}
