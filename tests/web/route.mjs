// The demo world's route (tests/e2e/route.txt, which the Windows edition's
// playthrough plays too) played in the web edition as a player plays it: the
// mouse and the keyboard in, the page and the exported save file out.
import {mkdirSync, readFileSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {
    assert, assertEqual, build, clickLink, control, cp932, enterGame, idle, layoutOf, messageShown, newPageAfter,
    root, state, velarc, worldDir,
} from './lib.mjs';

export const shotDir = join(build, 'web-e2e');

// The route's steps, each [verb, ...arguments].
export function readRoute() {
    return readFileSync(join(root, 'tests/e2e/route.txt'), 'utf8').split('\n')
        .filter((line) => line.trim() !== '' && !line.startsWith('#'))
        .map((line) => line.trim().split(/\s+/));
}

// The number of lines of scenario text `name` that are typed and wait for a
// click: used lines start with a double-byte character; "□" marks pictures
// and passwords, "［" labels.
async function typedLines(name) {
    const text = cp932(await velarc('extract', join(worldDir, 'Text.arc'), name));
    const doubleByte = (c) => c >= 0x80 && !(c >= 0xff61 && c <= 0xff9f);
    return text.split(/[\r\n]+/).filter((line) => line !== '' && doubleByte(line.codePointAt(0)) &&
                                                  !line.includes('□') && !line.includes('［')).length;
}

export class WebPlayer {
    // `page` past the title; `folder` takes exported saves.
    constructor(page, folder, {shots = true} = {}) {
        this.page = page;
        this.folder = folder;
        this.shots = shots;
        this.midFadeShot = false;
        this.downloads = [];
        page.on('download', (download) => this.downloads.push(download));
        if (shots) mkdirSync(shotDir, {recursive: true});
    }

    async screenshot(name) {
        if (this.shots) await this.page.screenshot({path: join(shotDir, `${name}.png`)});
    }

    async shows(file) {
        assertEqual((await state(this.page)).page, file, 'the page shown');
    }

    async menu(name, command) {
        await this.page.click(`.menu[data-menu="${name}"] .menu-title`);
        await this.page.click(command);
    }

    // The save file as ファイル → セーブデータを書き出す… gives it.
    async exportSave(name = 'velmora.dat') {
        const [download] = await Promise.all([
            this.page.waitForEvent('download'),
            this.menu('file', '[data-command="export-save"]'),
        ]);
        const bytes = readFileSync(await download.path());
        writeFileSync(join(this.folder, name), bytes);
        return bytes;
    }

    async answerMessage(expected) {
        const text = await messageShown(this.page);
        if (expected !== undefined) assertEqual(text, expected, 'the message');
        await this.page.click('#message-ok');
        await this.page.waitForSelector('#message-dialog', {state: 'hidden'});
        return text;
    }

    // Types `word` into the password prompt; a wrong one leaves it open.
    async answerPrompt(word, wrong) {
        const page = this.page;
        await page.waitForSelector('#password-dialog[open]');
        await page.fill('#password-input', word);
        await page.click('#password-ok');
        await this.answerMessage(wrong ? 'パスワードが違います。'
                                       : 'パスワードを確認しました。今後はパスワードの入力は不要です。');
        if (wrong) {
            assert(await page.isVisible('#password-dialog[open]'), `the wrong password ${word} closed the prompt`);
        } else {
            await page.waitForSelector('#password-dialog', {state: 'hidden'});
        }
    }

    // Clicks the scene link and plays its scene: every typed line clicked
    // once it is out, the prompt answered with `words` in turn, until the
    // window closes after its fade to white.
    async playScene(target, text, words = []) {
        const page = this.page;
        const before = (await state(page)).page;
        const expected = await typedLines(text);
        await clickLink(page, target);
        await page.waitForFunction(() => window.velmora.scene().open);
        let clicks = 0;
        const answers = [...words];
        for (;;) {
            const what = await page.waitForFunction(() => {
                const scene = window.velmora.scene();
                if (!scene.open) return 'closed';
                if (document.querySelector('#password-dialog[open]')) return 'prompt';
                if (scene.fading && scene.picture) return 'fading';
                return scene.waiting ? 'waiting' : false;
            }, null, {timeout: 30000, polling: 'raf'}).then((handle) => handle.jsonValue());
            if (what === 'closed') break;
            if (what === 'fading') {
                if (!this.midFadeShot) {
                    this.midFadeShot = true;
                    await this.screenshot('scene-mid-fade');
                }
                await page.waitForFunction(() => !window.velmora.scene().fading, null, {polling: 'raf'});
            } else if (what === 'prompt') {
                assert(answers.length > 0, `${text}: a prompt with no word left to answer`);
                const word = answers.shift();
                await this.answerPrompt(word, answers.length > 0);
            } else {
                await page.click('#message-canvas');
                clicks += 1;
                await page.waitForFunction(() => !window.velmora.scene().waiting, null, {polling: 'raf'});
            }
        }
        await idle(page);
        assertEqual(answers, [], `${text}: words never asked for`);
        assertEqual(clicks, expected, `${text}: lines clicked`);
        await this.shows(before);
    }

    async step(verb, ...args) {
        const page = this.page;
        switch (verb) {
        case 'follow':
            await newPageAfter(page, () => clickLink(page, args[0]));
            return this.shows(args[1] ?? args[0]);
        case 'home':
            await newPageAfter(page, () => page.click('#go-home'));
            return this.shows('otop.htm');
        case 'back':
            await newPageAfter(page, () => page.click('#go-back'));
            return this.shows(args[0]);
        case 'type':
            await page.fill('#address', args[0]);
            await newPageAfter(page, () => page.press('#address', 'Enter'));
            return this.shows(args[1]);
        case 'search': {
            const field = await control(page, 'text');
            await field.fill(args[0]);
            await newPageAfter(page, () => field.press('Enter'));
            await this.screenshot('search');
            const result = (await layoutOf(page)).link.find((link) => !link.visited);
            assert(result, `no unvisited result for ${args[0]}`);
            await newPageAfter(page, () => clickLink(page, result.target));
            return this.shows(args[1]);
        }
        case 'note':
            return this.playScene(`suga${args[0]}.htm`, `suga${args[0]}.txt`);
        case 'record':
            return this.playScene(`tou${args[0]}00.htm`, `tous${args[0]}.txt`, args.slice(1));
        case 'submit': {
            const button = await control(page, 'submit', `tou${args[0]}01.htm`);
            await button.click();
            await this.answerPrompt(args[1], false);
            await idle(page);
            return this.shows(`tou${args[0]}01.htm`);
        }
        case 'download': {
            const count = this.downloads.length;
            await clickLink(page, args[0]);
            await page.waitForSelector('#download-dialog[open]');
            await page.click('#download-ok');
            await this.answerMessage('ダウンロード完了しました。');
            await idle(page);
            assertEqual(this.downloads.length, count + 1, 'downloads');
            const download = this.downloads[count];
            assertEqual(download.suggestedFilename(), args[1], 'the downloaded file');
            const bytes = readFileSync(await download.path());
            const entry = await velarc('extract', join(worldDir, 'ex.arc'), args[1]);
            assert(bytes.equals(entry), `the saved ${args[1]} differs from the archive's`);
            return undefined;
        }
        case 'plugin':
            await clickLink(page, 'plugin');
            await page.waitForSelector('#plugin-dialog[open]');
            await page.click('#plugin-ok');
            await page.waitForFunction(() => document.querySelector('#plugin-progress').value >= 50);
            await this.screenshot('plugin-progress');
            await this.answerMessage('プラグインが組み込まれました。');
            await idle(page);
            assert((await state(page)).plugin, 'the plug-in is not installed');
            return undefined;
        case 'favourite':
            if (args[0] === 'add') {
                await this.menu('favourites', '[data-command="add-favourite"]');
                await page.click('#favourite-add-yes');
                await page.waitForSelector('#favourite-add-dialog', {state: 'hidden'});
                return idle(page);
            }
            await newPageAfter(page, () => this.menu('favourites', '#favourites-menu button[data-favourite="0"]'));
            return this.shows(args[1]);
        case 'restart':
            await page.reload();
            await enterGame(page);
            return this.shows('otop.htm');
        case 'chapter':
            return this.chapter(...args);
        default:
            throw new Error(`no such step: ${verb}`);
        }
    }

    // The exported save's stage, password flags and company page, and what
    // the route has done by then.
    async chapter(stage, passwords, umaker) {
        const name = `chapter-${stage.padStart(2, '0')}`;
        const bytes = await this.exportSave(`${name}.dat`);
        const fields = await saveFields(join(this.folder, `${name}.dat`));
        const expected = {
            disclosureStage: stage, passwordSolved: passwords, umakerPage: umaker, messageWait: '0',
            notesRead: Number(stage) >= 1 ? '111111111111111' : '000000000000000',
            pluginMissing: Number(stage) >= 1 ? '0' : '1',
        };
        for (const [field, value] of Object.entries(expected)) {
            assertEqual(fields[field], value, `chapter ${stage}: ${field} in the exported save`);
        }
        await this.screenshot(name);
        return bytes;
    }

    // Plays `steps`; `after(step)` hears each one done.
    async play(steps, after = async () => {}) {
        for (const step of steps) {
            try {
                await this.step(...step);
            } catch (error) {
                error.message = `at "${step.join(' ')}": ${error.message}`;
                throw error;
            }
            await after(step);
        }
    }
}

// `velarc save` of a save file: {NAME: VALUE}.
export async function saveFields(file) {
    const fields = {};
    for (const line of (await velarc('save', file)).toString('utf8').split('\n')) {
        const at = line.indexOf(': ');
        if (at > 0) fields[line.slice(0, at)] = line.slice(at + 2);
    }
    return fields;
}

// The ending: the killer page on the third visit, counted in the save.
export async function expectEnding(player) {
    await player.shows('killerd.htm');
    await player.exportSave('ending.dat');
    assertEqual((await saveFields(join(player.folder, 'ending.dat'))).killerCounter, '3', 'killerCounter at the ending');
    await player.screenshot('ending');
}
