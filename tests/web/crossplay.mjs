// One save for both editions: node tests/web/crossplay.mjs SAVE CHAPTER
// EXPORT_CHAPTER OUT loads SAVE (written by the Windows edition at route
// chapter CHAPTER) through ファイル → セーブデータを読み込む…, plays the route
// on from there to the ending, and writes the save it exports at chapter
// EXPORT_CHAPTER to OUT for the Windows edition. Exits 1 on the first fault.
import {copyFileSync, mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {assertEqual, enterGame, launch, newPageAfter, openGame, serve} from './lib.mjs';
import {WebPlayer, expectEnding, readRoute, saveFields} from './route.mjs';

const [save, from, exportAt, out] = process.argv.slice(2);
if (!out) {
    console.error('usage: crossplay.mjs SAVE CHAPTER EXPORT_CHAPTER OUT');
    process.exit(2);
}

const steps = readRoute();
const isChapter = (n) => (step) => step[0] === 'chapter' && step[1] === n;
const start = steps.findIndex(isChapter(from));
if (start < 0 || !steps.some(isChapter(exportAt))) {
    console.error(`the route has no chapter ${from} or ${exportAt}`);
    process.exit(2);
}
// Loading a save starts the game afresh at its home page, as a restart does.
const rest = steps.slice(start + 1);
if (rest[0]?.[0] === 'restart') rest.shift();

const folder = mkdtempSync(join(tmpdir(), 'velmora-crossplay-'));
const server = await serve();
const browser = await launch();
let status = 0;
try {
    const page = await openGame(browser, server.url);
    page.on('console', (message) => {
        if (message.type() === 'error' && !/^Failed to load resource/.test(message.text())) {
            console.error(`console error: ${message.text()}`);
        }
    });
    await enterGame(page);
    await newPageAfter(page, () => page.setInputFiles('#import-save-file', save));
    const player = new WebPlayer(page, folder, {shots: false});
    // The Windows save goes on at its chapter.
    const [, stage, passwords, umaker] = steps[start];
    const fields = await saveFields(save);
    assertEqual([fields.disclosureStage, fields.passwordSolved, fields.umakerPage], [stage, passwords, umaker],
                'the Windows save\'s chapter');
    await player.play(rest, async (step) => {
        if (isChapter(exportAt)(step)) {
            copyFileSync(join(folder, `chapter-${exportAt.padStart(2, '0')}.dat`), out);
            console.log(`chapter ${exportAt}: saved as ${out}`);
        }
    });
    await expectEnding(player);
    console.log(`played on from chapter ${from} to the ending`);
} catch (error) {
    console.error(`FAIL: ${error.message}`);
    status = 1;
} finally {
    await browser.close();
    server.stop();
    rmSync(folder, {recursive: true, force: true});
}
process.exit(status);
