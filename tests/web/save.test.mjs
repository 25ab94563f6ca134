// What the game keeps in the browser's storage: favourites, the story's stage
// and the pages visited, across a reload, in the save file's own format.
import {readFileSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {
    assert, assertEqual, enterGame, idle, messageShown, newPageAfter, pageTable, readSave, state, test,
} from './lib.mjs';

const table = await pageTable();

async function favouritesMenu(page) {
    await page.click('.menu[data-menu="favourites"] .menu-title');
    await page.waitForSelector('.menu[data-menu="favourites"].open');
    return page.$$eval('#favourites-menu button[data-favourite]', (items) => items.map((i) => i.textContent));
}

test('Save.a_favourite_and_the_story_outlast_a_reload_and_export_as_a_save_file', async (run) => {
    const page = await run.game();
    // The laboratory's page, by its address: the story's second stage.
    await page.fill('#address', table.get('usyo.htm').address);
    await newPageAfter(page, () => page.press('#address', 'Enter'));
    assertEqual((await state(page)).page, 'usyo.htm', 'the page of the laboratory\'s address');
    const title = table.get('usyo.htm').title;

    assertEqual(await favouritesMenu(page), [], 'the favourites of a new game');
    await page.click('[data-command="add-favourite"]');
    await page.click('#favourite-add-yes');
    await page.waitForSelector('#favourite-add-dialog', {state: 'hidden'});
    assertEqual(await favouritesMenu(page), [title], 'the favourites after adding one');
    await page.keyboard.press('Escape');

    await page.reload();
    await enterGame(page);
    assertEqual((await state(page)).page, 'otop.htm', 'the page after a reload');
    assertEqual(await favouritesMenu(page), [title], 'the favourites after a reload');
    const {visited} = await state(page);
    for (const name of ['otop.htm', 'usyo.htm']) assert(visited.includes(name), `${name} not visited: ${visited}`);

    // What the reloaded game would export, as velarc reads it.
    const {fields, lines} = await readSave(await page.evaluate(() => window.velmora.saveBytes()), run.folder());
    assertEqual(fields.disclosureStage, '2', 'the stage in the save');
    assertEqual([fields['favourite[0].title'], fields['favourite[0].fileName']], [title, 'usyo.htm'],
                'the favourite in the save');
    const saved = lines.filter((l) => l.startsWith('visited[')).map((l) => l.slice(l.indexOf(': ') + 2));
    assertEqual(saved, visited, 'the visited pages in the save');

    // The favourite opens its page, and the game saves after it as it would export.
    await newPageAfter(page, () => page.click('#favourites-menu button[data-favourite="0"]'));
    assertEqual((await state(page)).page, 'usyo.htm', 'the page the favourite opens');
    const stored = await page.evaluate(() => Array.from(atob(localStorage.getItem('velmora.dat')), (c) => c.charCodeAt(0)));
    assertEqual(stored, await page.evaluate(() => window.velmora.saveBytes()), 'the stored save against the exported one');
});

test('Save.a_save_file_exported_goes_on_in_another_game_and_a_damaged_one_changes_nothing', async (run) => {
    const first = await run.game();
    await first.fill('#address', table.get('usyo.htm').address);
    await newPageAfter(first, () => first.press('#address', 'Enter'));
    await first.click('.menu[data-menu="favourites"] .menu-title');
    await first.click('[data-command="add-favourite"]');
    await first.click('#favourite-add-yes');
    await first.waitForSelector('#favourite-add-dialog', {state: 'hidden'});

    // ファイル → セーブデータを書き出す…: the download is the save file itself.
    await first.click('.menu[data-menu="file"] .menu-title');
    const [download] = await Promise.all([first.waitForEvent('download'),
                                          first.click('[data-command="export-save"]')]);
    assertEqual(download.suggestedFilename(), 'velmora.dat', 'the exported file\'s name');
    const exported = readFileSync(await download.path());
    assertEqual(Array.from(exported), await first.evaluate(() => window.velmora.saveBytes()),
                'the exported bytes against the game\'s save');

    // Another player's new game: a file that is no save is refused and nothing changes.
    const second = await run.game();
    const before = await second.evaluate(() => window.velmora.saveBytes());
    const damaged = join(run.folder(), 'damaged.dat');
    writeFileSync(damaged, exported.subarray(0, 100));
    await second.setInputFiles('#import-save-file', damaged);
    assertEqual(await messageShown(second), 'このファイルはセーブデータとして読み込めません。ゲームはそのまま続きます。',
                'the message for a damaged save');
    await second.click('#message-ok');
    await idle(second);
    assertEqual(await second.evaluate(() => window.velmora.saveBytes()), before, 'the game after a damaged save');
    assertEqual(await favouritesMenu(second), [], 'the favourites after a damaged save');
    await second.keyboard.press('Escape');

    // The exported file goes on: the stage, the favourite, and the home page shown.
    const good = join(run.folder(), 'velmora.dat');
    writeFileSync(good, exported);
    await newPageAfter(second, () => second.setInputFiles('#import-save-file', good));
    assertEqual(await favouritesMenu(second), [table.get('usyo.htm').title], 'the favourites of the loaded save');
    await second.keyboard.press('Escape');
    const {fields} = await readSave(await second.evaluate(() => window.velmora.saveBytes()), run.folder());
    assertEqual(fields.disclosureStage, '2', 'the stage of the loaded save');
    assertEqual((await state(second)).page, 'otop.htm', 'the page after loading a save');
});
