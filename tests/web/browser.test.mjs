// The title screen, links, the history and the address bar.
import {
    assert, assertEqual, clickLink, idle, layoutOf, messageShown, newPageAfter, pageTable, state, test,
} from './lib.mjs';

const table = await pageTable();
const windowTitle = (file) => `${table.get(file).title} - Brivane`;

// Whether a canvas holds more than one colour: something was drawn on it.
async function drawn(page, selector) {
    return page.$eval(selector, (canvas) => {
        const {data} = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
        for (let i = 4; i < data.length; i += 4) {
            if (data[i] !== data[0] || data[i + 1] !== data[1] || data[i + 2] !== data[2]) return true;
        }
        return false;
    });
}

test('Browser.title_then_a_click_shows_the_home_page', async (run) => {
    const page = await run.open();
    await page.waitForFunction(() => window.velmora && window.velmora.titleFrames() > 0);
    assert(await drawn(page, '#title-canvas'), 'the title canvas is one colour');
    assert(await page.isHidden('#browser'), 'the browser shows under the title');

    await page.click('#title-canvas', {position: {x: 320, y: 240}});
    await page.waitForFunction(() => window.velmora.ready && window.velmora.pagesDrawn() > 0);
    await idle(page);
    assert(await page.isHidden('#title'), 'the title stays after the click');
    assertEqual((await state(page)).page, 'otop.htm', 'the page shown');
    assertEqual(await page.title(), windowTitle('otop.htm'), 'the window title');
    assertEqual(await page.inputValue('#address'), table.get('otop.htm').address, 'the address bar');
    assert(await drawn(page, '#page'), 'the page canvas is one colour');
    assert(await page.isDisabled('#go-back') && await page.isDisabled('#go-forward'),
           'Back or Forward is enabled on the first page');
});

test('Browser.links_open_pages_and_back_and_forward_walk_the_history', async (run) => {
    const page = await run.game();
    const shows = async (file) => {
        assertEqual((await state(page)).page, file, 'the page shown');
        assertEqual(await page.title(), windowTitle(file), `the window title of ${file}`);
        assertEqual(await page.inputValue('#address'), table.get(file).address, `the address of ${file}`);
    };
    const buttons = async (back, forward) => {
        assertEqual([await page.isEnabled('#go-back'), await page.isEnabled('#go-forward')], [back, forward],
                    'Back and Forward enabled');
    };

    await newPageAfter(page, () => clickLink(page, 'onews.htm'));
    await shows('onews.htm');
    await buttons(true, false);
    // The link the page came from is drawn visited when the page is shown again.
    await newPageAfter(page, () => page.click('#go-back'));
    await shows('otop.htm');
    await buttons(false, true);
    const back = (await layoutOf(page)).link.filter((l) => l.target === 'onews.htm');
    assert(back.length > 0 && back.every((l) => l.visited), 'the followed link is not drawn visited');

    await newPageAfter(page, () => page.click('#go-forward'));
    await shows('onews.htm');
    await buttons(true, false);

    await page.focus('#page-scroll');
    await newPageAfter(page, () => page.keyboard.press('Alt+ArrowLeft'));
    await shows('otop.htm');
    await buttons(false, true);
    await newPageAfter(page, () => page.keyboard.press('Alt+ArrowRight'));
    await shows('onews.htm');

    // A new page after going back drops what lay ahead.
    await newPageAfter(page, () => page.click('#go-back'));
    await newPageAfter(page, () => clickLink(page, 'bbs.htm'));
    await shows('bbs.htm');
    await buttons(true, false);
});

// Enter on a typed address; the time from the key to the game's answer.
async function typeAddress(page, text) {
    await page.fill('#address', text);
    const begun = Date.now();
    await page.press('#address', 'Enter');
    await idle(page);
    return Date.now() - begun;
}

test('Browser.typed_addresses_open_their_page_or_fail_as_on_windows', async (run) => {
    const page = await run.game();
    // A "fetch" takes 99 steps of more than 15 ms (an unknown page) or 25 ms (a refusal).
    const pageFetchMs = 99 * 15;
    const refusalFetchMs = 99 * 25;

    // No link reaches this page; its address is told on the board. It opens
    // within the key's own task, before any timer could run.
    const known = table.get('toudai.htm').address;
    await page.fill('#address', known);
    const openedAtOnce = await page.evaluate(async () => {
        const enter = {key: 'Enter', bubbles: true, cancelable: true};
        document.querySelector('#address').dispatchEvent(new KeyboardEvent('keydown', enter));
        for (let i = 0; i < 20; i++) await Promise.resolve();
        return window.velmora.state().page;
    });
    assertEqual(openedAtOnce, 'toudai.htm', 'the page right after Enter on a known address');
    await idle(page);
    assertEqual(await page.title(), windowTitle('toudai.htm'), 'the window title');

    const drawnBefore = await page.evaluate(() => window.velmora.pagesDrawn());
    let ms = await typeAddress(page, 'kirimi');
    assert(ms >= refusalFetchMs, `a refusal came after ${ms} ms, without a fetch`);
    assertEqual(await messageShown(page), 'そのアドレスは見当たりません。', 'the message');
    await page.click('#message-ok');
    assert(await page.isHidden('#message-dialog'), 'the message stays after OK');
    assertEqual((await state(page)).page, 'toudai.htm', 'the page after a refused address');
    assertEqual(await page.evaluate(() => window.velmora.pagesDrawn()), drawnBefore, 'pages drawn');
    assertEqual(await page.inputValue('#address'), known, 'the address bar after a refusal');

    const unknown = 'http://www.kirimi.net/nowhere/missing.htm';
    ms = await typeAddress(page, unknown);
    assert(ms >= pageFetchMs, `an unknown page opened after ${ms} ms, without a fetch`);
    assertEqual((await state(page)).page, 'urlmiss.htm', 'the page of an unknown .htm address');
    assertEqual(await page.title(), `${(await layoutOf(page)).page.title} - Brivane`, 'the window title');
    assertEqual(await page.inputValue('#address'), unknown, 'the address bar after a missing page');
    assert(await page.isHidden('#progress'), 'the progress bar stays after the fetch');
    assert(await page.isHidden('#message-dialog'), 'a message after an unknown page');

    // Every typed text goes to the list under the bar, in order.
    const list = await page.$$eval('#address-list option', (options) => options.map((o) => o.value));
    assertEqual(list.slice(-3), [known, 'kirimi', unknown], 'the address list');
});

test('Browser.the_keys_the_browser_owns_do_the_games_thing', async (run) => {
    const page = await run.game();
    const drawnBefore = await page.evaluate(() => window.velmora.pagesDrawn());
    // F5 would reload the game and lose its history: it does nothing.
    await page.keyboard.press('F5');
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    assert(await page.evaluate(() => window.velmora.ready), 'the game after F5');
    assertEqual(await page.evaluate(() => window.velmora.pagesDrawn()), drawnBefore, 'pages drawn after F5');

    // Ctrl+O: a page file, known by its name wherever it lies.
    const [chooser] = await Promise.all([page.waitForEvent('filechooser'), page.keyboard.press('Control+o')]);
    const file = {name: 'kyoudata.htm', mimeType: 'text/html', buffer: Buffer.from('<html></html>')};
    await newPageAfter(page, () => chooser.setFiles(file));
    assertEqual((await state(page)).page, 'kyoudata.htm', 'the page Ctrl+O opened');

    // Ctrl+P: the page as shown goes to the browser's print.
    await page.evaluate(() => { window.print = () => { window.printed = true; }; });
    await page.keyboard.press('Control+p');
    await page.waitForFunction(() => window.printed === true);
    const size = await page.$eval('#print-page', (image) => [image.naturalWidth, image.naturalHeight]);
    const view = (await state(page)).client;
    assert(size[0] >= view.width && size[1] >= view.height, `printed ${size} for a view of ${view.width}x${view.height}`);
});
