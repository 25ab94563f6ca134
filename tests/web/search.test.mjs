// Searches and forms: the Search button, the keyword fields and the submit
// buttons of the demo world's pages.
import {
    assert, assertEqual, clickLink, control, cp932, idle, layoutOf, newPageAfter, pageTable, state, test, velarc,
    worldDir,
} from './lib.mjs';

const table = await pageTable();

// The links of the result page the game builds for `words`, as velarc builds it.
async function expectedResults(words) {
    const tokens = cp932(await velarc('search', worldDir, words)).split(/\r?\n/);
    const links = tokens.map((t) => /^<a href="([^"]*)">$/.exec(t)).filter(Boolean).map((m) => m[1]);
    assert(links.length > 2, `velarc finds too few pages for "${words}": ${links}`);
    return links;
}

async function expectResults(page, words) {
    const expected = await expectedResults(words);
    const layout = await layoutOf(page);
    assertEqual(layout.link.map((l) => l.target), expected, `the result links for "${words}"`);
    // The result page's own field shows the words searched for.
    assertEqual(await (await control(page, 'text')).inputValue(), words, 'the result page\'s field');
    return expected;
}

test('Search.the_search_button_opens_the_search_page_and_its_field_searches', async (run) => {
    const page = await run.game();
    await newPageAfter(page, () => page.click('#go-search'));
    assertEqual((await state(page)).page, 'search.htm', 'the page the Search button opens');
    assertEqual(await page.inputValue('#address'), table.get('search.htm').address, 'the address bar');

    const words = 'kirimi';
    const field = await control(page, 'text');
    await field.fill(words);
    await newPageAfter(page, () => field.press('Enter'));
    const results = await expectResults(page, words);

    // A result opens its page.
    const first = results[0];
    await newPageAfter(page, () => clickLink(page, first));
    assertEqual((await state(page)).page, first, 'the page a result opens');
    assertEqual(await page.title(), `${table.get(first).title} - Brivane`, 'its window title');
});

test('Search.the_home_page_form_submits_its_words_and_an_empty_field_does_nothing', async (run) => {
    const page = await run.game();
    const drawn = () => page.evaluate(() => window.velmora.pagesDrawn());

    // Empty: neither the button nor Enter searches.
    const before = await drawn();
    await (await control(page, 'submit')).click();
    await (await control(page, 'text')).press('Enter');
    await idle(page);
    assertEqual(await drawn(), before, 'pages drawn after an empty search');
    assertEqual((await state(page)).page, 'otop.htm', 'the page after an empty search');

    const words = '霧 坂';
    await (await control(page, 'text')).fill(words);
    await newPageAfter(page, async () => (await control(page, 'submit')).click());
    const results = await expectResults(page, words);

    // The last link leads back to the portal; the one before it is the last result.
    const last = results[results.length - 2];
    await newPageAfter(page, () => clickLink(page, last));
    assertEqual((await state(page)).page, last, 'the page a result opens');
});
