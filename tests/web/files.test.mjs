// Files: a download link's file as the browser saves it, and a world served
// without one of its archives.
import {readFileSync, readdirSync, symlinkSync} from 'node:fs';
import {join, resolve} from 'node:path';
import {
    assert, assertEqual, clickLink, enterGame, idle, messageShown, newPageAfter, state, test, velarc, webDir,
    worldDir,
} from './lib.mjs';

test('Files.a_download_link_saves_the_entry_of_ex_arc_after_ok_and_nothing_after_cancel', async (run) => {
    const page = await run.game();
    await newPageAfter(page, () => clickLink(page, 'kankou.htm'));
    const downloads = [];
    page.on('download', (download) => downloads.push(download));

    // Cancel: no file, no message, the page stays.
    await clickLink(page, 'icon01.htm');
    await page.waitForSelector('#download-dialog[open]');
    assertEqual(await page.textContent('#download-file'), 'icon01.ico', 'the file offered');
    await page.click('#download-cancel');
    await idle(page);
    assertEqual(downloads.length, 0, 'downloads after Cancel');
    assert(await page.isHidden('#message-dialog'), 'a message after Cancel');

    // OK: the browser's download holds the entry's bytes, and the game says it is done.
    await clickLink(page, 'wall02.htm');
    await page.waitForSelector('#download-dialog[open]');
    assertEqual(await page.textContent('#download-file'), 'wall02.bmp', 'the file offered');
    const [download] = await Promise.all([page.waitForEvent('download'), page.click('#download-ok')]);
    assertEqual(download.suggestedFilename(), 'wall02.bmp', 'the downloaded file\'s name');
    const bytes = readFileSync(await download.path());
    const entry = await velarc('extract', join(worldDir, 'ex.arc'), 'wall02.bmp');
    assert(entry.length > 1000, `the entry is only ${entry.length} bytes`);
    assert(bytes.equals(entry), `the download's ${bytes.length} bytes differ from the entry's ${entry.length}`);
    assertEqual(await messageShown(page), 'ダウンロード完了しました。', 'the message after the download');
    await page.click('#message-ok');
    await idle(page);
    assertEqual((await state(page)).page, 'kankou.htm', 'the page after the download');
});

test('Files.a_missing_archive_is_told_as_on_windows_and_the_game_goes_on', async (run) => {
    // The web folder without parts.arc.
    const folder = run.folder();
    for (const name of readdirSync(webDir)) {
        if (name !== 'parts.arc') symlinkSync(resolve(webDir, name), join(folder, name));
    }
    const page = await run.open({url: await run.serve(folder)});
    // Told once, before the title, as the Windows edition tells it at its start.
    assertEqual(await messageShown(page), 'parts.arcファイルが見当たりません\n', 'the message');
    await page.click('#message-ok');
    await page.click('#title-canvas', {position: {x: 320, y: 240}});
    await page.waitForFunction(() => window.velmora.ready);
    await idle(page);
    assert(await page.isHidden('#message-dialog'), 'a message after OK');

    assertEqual((await state(page)).page, 'otop.htm', 'the page after the message');
    await newPageAfter(page, () => clickLink(page, 'onews.htm'));
    assertEqual((await state(page)).page, 'onews.htm', 'the page a link opens');
    assert(await page.isHidden('#message-dialog'), 'a message after a page without parts.arc');
});

test('Files.a_server_gone_mid_game_is_told_once_and_the_game_goes_on', async (run) => {
    const url = await run.serve(webDir);
    const page = await run.open({url});
    await enterGame(page);
    run.servers.at(-1).stop();
    // A page whose sound the server can no longer give: told once.
    await page.evaluate(() => window.velmora.open('osyo.htm'));
    assertEqual(await messageShown(page), 'ファイルを読み込めませんでした。サーバーとの接続を確かめてください。ゲームはそのまま続けられます。',
                'the message when the server has gone');
    await page.click('#message-ok');
    await idle(page);
    // The world is in memory: pages still open, and nothing more is told.
    await newPageAfter(page, () => page.evaluate(() => window.velmora.open('usyo.htm')));
    assertEqual((await state(page)).page, 'usyo.htm', 'the page opened without the server');
    assert(await page.isHidden('#message-dialog'), 'a second message');
    const stored = await page.evaluate(() => Array.from(atob(localStorage.getItem('velmora.dat')), (c) => c.charCodeAt(0)));
    assertEqual(stored, await page.evaluate(() => window.velmora.saveBytes()), 'the stored save');
});
