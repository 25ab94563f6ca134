// The password dialog at the reading room's locked records, the plug-in's
// set-up, and what the installed plug-in changes: pictures under Caps Lock
// and the photo page's third visit.
import {mkdirSync} from 'node:fs';
import {join} from 'node:path';
import {
    assert, assertEqual, build, clickLink, control, idle, layoutOf, messageShown, newPageAfter, readSave, state,
    test,
} from './lib.mjs';

const shots = join(build, 'web-e2e');
const REFUSED = 'パスワードが違います。';
const ACCEPTED = 'パスワードを確認しました。今後はパスワードの入力は不要です。';

async function savedFields(run, page, bytes) {
    return (await readSave(bytes || await page.evaluate(() => window.velmora.saveBytes()), run.folder())).fields;
}
const storedSave = (page) => page.evaluate(
    () => Array.from(atob(localStorage.getItem('velmora.dat')), (c) => c.charCodeAt(0)));

// The reading room's button for a locked record.
const recordButton = (page, record) => control(page, 'submit', record);

async function passwordDialogFor(page, record) {
    await (await recordButton(page, record)).click();
    await page.waitForSelector('#password-dialog[open]');
}

test('Dialogs.a_locked_record_opens_for_its_password_typed_in_japanese_and_the_save_keeps_it', async (run) => {
    const page = await run.game();
    await newPageAfter(page, () => page.evaluate(() => window.velmora.open('kirokuin.htm')));

    // The second record: a text that differs from an accepted one in case only.
    await passwordDialogFor(page, 'tou0101.htm');
    assertEqual(await page.evaluate(() => document.activeElement.id), 'password-input', 'the focus on opening');
    await page.keyboard.type('Umineko');
    await page.keyboard.press('Enter');
    assertEqual(await messageShown(page), REFUSED, 'the message for a wrong password');
    await page.keyboard.press('Enter');
    await page.waitForSelector('#message-dialog', {state: 'hidden'});
    // The dialog stays, its text kept and selected, so the next try types over it.
    assert(await page.isVisible('#password-dialog'), 'the password dialog closed after a wrong password');
    assertEqual(await page.evaluate(() => {
        const input = document.getElementById('password-input');
        return [document.activeElement === input, input.value, input.selectionStart, input.selectionEnd];
    }), [true, 'Umineko', 0, 7], 'the field after a wrong password: focused, text, selection');

    // The input method's text (insertText stands in for it) replaces the selection.
    await page.keyboard.insertText('海猫');
    mkdirSync(shots, {recursive: true});
    await page.screenshot({path: join(shots, 'password-japanese.png')});
    await page.click('#password-ok');
    assertEqual(await messageShown(page), ACCEPTED, 'the message for the right password');
    // Saved before the player answers: a tab closed now keeps the record open.
    assertEqual((await savedFields(run, page, await storedSave(page))).passwordSolved,
                '0100000000000000', 'the stored flags while the message shows');
    assertEqual((await state(page)).page, 'kirokuin.htm', 'the page before the message is answered');
    await newPageAfter(page, () => page.click('#message-ok'));
    assertEqual((await state(page)).page, 'tou0101.htm', 'the page the record\'s password opens');
    assert(await page.isHidden('#password-dialog'), 'the password dialog stayed after the right password');

    // The slot is never asked again.
    await newPageAfter(page, () => page.evaluate(() => window.velmora.open('kirokuin.htm')));
    await newPageAfter(page, async () => (await recordButton(page, 'tou0101.htm')).click());
    assertEqual((await state(page)).page, 'tou0101.htm', 'the solved record');
    assert(await page.isHidden('#password-dialog'), 'a solved record asked for its password');
});

test('Dialogs.cancelling_the_password_stores_nothing_even_with_the_right_text_typed', async (run) => {
    const page = await run.game();
    await newPageAfter(page, () => page.evaluate(() => window.velmora.open('kirokuin.htm')));
    const before = await page.evaluate(() => window.velmora.saveBytes());

    await passwordDialogFor(page, 'tou0001.htm');
    await page.keyboard.type('kirimin');
    await page.click('#password-cancel');
    await page.waitForSelector('#password-dialog', {state: 'hidden'});
    await idle(page);
    // A text the code page cannot hold matches nothing, then Escape gives up.
    await passwordDialogFor(page, 'tou0001.htm');
    assertEqual(await page.inputValue('#password-input'), '', 'the field of a dialog opened again');
    await page.keyboard.insertText('きりみん\u{1F56F}');
    await page.keyboard.press('Enter');
    assertEqual(await messageShown(page), REFUSED, 'the message for a text outside the code page');
    await page.click('#message-ok');
    await page.waitForSelector('#message-dialog', {state: 'hidden'});
    await page.keyboard.press('Escape');
    await page.waitForSelector('#password-dialog', {state: 'hidden'});
    await idle(page);

    assert(await page.isHidden('#message-dialog'), 'a message after cancelling');
    assertEqual((await state(page)).page, 'kirokuin.htm', 'the page after cancelling');
    assertEqual(await page.evaluate(() => window.velmora.saveBytes()), before, 'the save after cancelling');
});

test('Dialogs.the_plug_in_installs_after_a_cancel_and_changes_pictures_under_caps_lock_and_the_photo_page', async (run) => {
    const page = await run.game();
    const pictures = async () => (await layoutOf(page)).picture.map((p) => p.name).filter((n) => /^mist/i.test(n));
    const capsLock = (on) => page.evaluate((on) => document.dispatchEvent(
        new KeyboardEvent('keyup', {key: 'CapsLock', modifierCapsLock: on})), on);

    // Caps Lock alone changes nothing while the plug-in is missing.
    await capsLock(true);
    await newPageAfter(page, () => page.evaluate(() => window.velmora.open('ipan52.htm')));
    const named = await pictures();
    assert(named.length > 0 && named.every((n) => /m\.bmp$/i.test(n)), `the photos without the plug-in: ${named}`);

    await newPageAfter(page, () => page.evaluate(() => window.velmora.open('kyouplug.htm')));
    await clickLink(page, 'plugin');
    await page.waitForSelector('#plugin-dialog[open]');
    assertEqual(await page.textContent('#plugin-status'), 'プラグインをブラウザへ組み込みます。', 'the first status');
    await page.click('#plugin-cancel');
    await page.waitForSelector('#plugin-dialog', {state: 'hidden'});
    await idle(page);
    assert(await page.isHidden('#message-dialog'), 'a message after cancelling the set-up');
    let now = await state(page);
    assert(!now.plugin && now.visited.includes('plugin'), `after cancelling: ${JSON.stringify(now)}`);

    // Every step the bar and the status show, as the page sees them.
    await clickLink(page, 'plugin');
    await page.waitForSelector('#plugin-dialog[open]');
    await page.evaluate(() => {
        const seen = window.setupSeen = [];
        const bar = document.getElementById('plugin-progress');
        const status = document.getElementById('plugin-status');
        new MutationObserver(() => seen.push({at: performance.now(), position: bar.value}))
            .observe(bar, {attributes: true, attributeFilter: ['value']});
        new MutationObserver(() => seen.push({status: status.textContent}))
            .observe(status, {childList: true, characterData: true, subtree: true});
    });
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => document.getElementById('plugin-progress').value >= 40);
    assert(await page.isDisabled('#plugin-ok') && await page.isDisabled('#plugin-cancel'),
           'the buttons are enabled while it runs');
    await page.screenshot({path: join(shots, 'plugin-progress.png')});
    await page.keyboard.press('Escape');
    await page.keyboard.press('Escape');
    assertEqual(await messageShown(page), 'プラグインが組み込まれました。', 'the closing message');
    assert(await page.isVisible('#plugin-dialog'), 'the set-up dialog closed before its message (or on Escape)');
    assertEqual(await page.evaluate(() => document.getElementById('plugin-progress').value), 99,
                'the bar under the closing message');

    const seen = await page.evaluate(() => window.setupSeen);
    const steps = seen.filter((s) => 'position' in s);
    assertEqual(seen.filter((s) => 'status' in s).map((s) => s.status),
                ['プラグインを読みこんでいます･････', 'プラグインをブラウザへ組み込んでいます･････'], 'the statuses');
    assertEqual(steps.map((s) => s.position), Array.from({length: 100}, (_, i) => i), 'the positions shown');
    assertEqual(seen.findIndex((s) => 'status' in s && s.status.includes('組み込んで')), 31,
                'where the second status comes: after position 29');
    // More than 50 ms a step, then more than 70 (less a little for the
    // observer's own timing).
    assert(steps[29].at - steps[0].at >= 29 * 49 && steps[99].at - steps[30].at >= 69 * 69,
           `the steps' pace: ${steps[29].at - steps[0].at} ms, ${steps[99].at - steps[30].at} ms`);

    await page.click('#message-ok');
    await page.waitForSelector('#plugin-dialog', {state: 'hidden'});
    await idle(page);
    assert((await state(page)).plugin, 'the plug-in is not installed after OK');
    assertEqual((await savedFields(run, page, await storedSave(page))).pluginMissing, '0', 'the stored plug-in flag');

    // Installed: Caps Lock drops the photos' m; a mouse event that says it is
    // off brings it back; the third visit is the killer page.
    await capsLock(true);
    await newPageAfter(page, () => page.evaluate(() => window.velmora.open('ipan52.htm')));
    assertEqual(await pictures(), named.map((n) => n.replace(/m\.bmp$/i, '.bmp')), 'the photos under Caps Lock');
    await page.mouse.move(5, 300);
    await newPageAfter(page, () => page.evaluate(() => window.velmora.open('ipan52.htm')));
    assertEqual(await pictures(), named, 'the photos with Caps Lock off');
    await newPageAfter(page, () => page.evaluate(() => window.velmora.open('ipan52.htm')));
    assertEqual((await state(page)).page, 'killerd.htm', 'the third visit after the installation');
    assertEqual((await savedFields(run, page)).killerCounter, '3', 'the visits counted');
}, {timeout: 90000});
