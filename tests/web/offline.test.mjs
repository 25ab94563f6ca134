// Offline: the game served from a folder of a site, kept by its service
// worker, replaced whole by a new build, and played again with the server gone.
import {execFileSync} from 'node:child_process';
import {copyFileSync, readFileSync, readdirSync, rmSync, symlinkSync, writeFileSync} from 'node:fs';
import {join, resolve} from 'node:path';
import {assert, assertEqual, enterGame, idle, newPageAfter, root, state, test, webDir} from './lib.mjs';

const BASE = '/games/velmora/';

// The caches the worker at `scope` keeps: name -> the addresses in it.
async function cachesOf(page, scope) {
    return page.evaluate(async (scope) => {
        const kept = {};
        for (const name of await caches.keys()) {
            if (!name.startsWith(`velmora ${scope} `)) continue;
            kept[name] = (await (await caches.open(name)).keys()).map((r) => r.url);
        }
        return kept;
    }, scope);
}

test('Offline.at_a_sub_path_the_worker_keeps_each_build_and_the_game_plays_without_the_server', async (run) => {
    // A build of its own, to be rebuilt below: the files linked, the two the
    // build writes last copied.
    const folder = run.folder();
    for (const name of readdirSync(webDir)) {
        if (name === 'sw.js' || name === 'files.json') copyFileSync(join(webDir, name), join(folder, name));
        else symlinkSync(resolve(webDir, name), join(folder, name));
    }
    const url = await run.serve(folder, BASE);
    assert(url.endsWith(BASE), `served at ${url}`);
    const page = await run.open({url});
    await enterGame(page);
    assertEqual((await state(page)).page, 'otop.htm', 'the home page');
    // Every address the page used is in the game's folder (the site's icon is
    // the browser's own asking).
    const outside = await page.evaluate((url) => performance.getEntriesByType('resource').map((e) => e.name)
        .filter((name) => !name.startsWith(url) && !name.endsWith('/favicon.ico')), url);
    assertEqual(outside, [], 'addresses outside the folder');

    // The worker, once ready, holds every file of the build, sounds too.
    const first = JSON.parse(readFileSync(join(folder, 'files.json'), 'utf8'));
    assert(first.files.some((f) => f.name === 'wave/0001.wav'), 'no sounds in the build\'s list');
    assertEqual(await page.evaluate(async () => (await navigator.serviceWorker.ready).scope), url, 'the scope');
    const kept = await cachesOf(page, url);
    assertEqual(Object.keys(kept), [`velmora ${url} ${first.version}`], 'the caches');
    assertEqual(Object.values(kept)[0].sort(), first.files.map((f) => url + f.name).sort(), 'the files kept');

    // A new build: its worker keeps the whole of it and drops the old cache.
    rmSync(join(folder, 'cp932.js'));
    writeFileSync(join(folder, 'cp932.js'), readFileSync(join(webDir, 'cp932.js'), 'utf8') + '// rebuilt\n');
    execFileSync(process.execPath, [join(root, 'scripts/web-files.mjs'), folder]);
    const second = JSON.parse(readFileSync(join(folder, 'files.json'), 'utf8'));
    assert(second.version !== first.version, 'the new build has the old one\'s version');
    assertEqual(second.files.map((f) => f.name), first.files.map((f) => f.name), 'the new build\'s files');
    await page.evaluate(async () => (await navigator.serviceWorker.getRegistration()).update());
    const until = Date.now() + 30000;
    for (;;) {
        const seen = await cachesOf(page, url);
        const names = Object.keys(seen);
        if (names.length === 1 && names[0].endsWith(second.version) &&
            seen[names[0]].length === second.files.length) break;
        assert(Date.now() < until, `the caches after the new build: ${JSON.stringify(names)}`);
        await new Promise((r) => setTimeout(r, 200));
    }

    // The server gone: the page, its world and its sounds come from the worker.
    run.servers.at(-1).stop();
    await page.addInitScript(() => {
        // The sounds that have played some of themselves.
        window.soundsHeard = new Set();
        const play = HTMLMediaElement.prototype.play;
        HTMLMediaElement.prototype.play = function () {
            this.addEventListener('timeupdate', () => {
                if (this.currentTime > 0) window.soundsHeard.add(this.currentSrc);
            });
            return play.call(this);
        };
    });
    await page.reload();
    await enterGame(page);
    assertEqual((await state(page)).page, 'otop.htm', 'the home page without the server');
    assert(await page.evaluate(() => navigator.serviceWorker.controller !== null), 'the page is not the worker\'s');
    assert((await page.evaluate(async () => (await fetch('cp932.js')).text())).endsWith('// rebuilt\n'),
           'the page is not the new build\'s');
    await newPageAfter(page, () => page.evaluate(() => window.velmora.open('osyo.htm')));
    await page.waitForFunction((url) => Array.from(window.soundsHeard).some((s) => s.startsWith(url + 'wave/0')),
                               url, {timeout: 10000});
    await idle(page);
    assert(await page.evaluate((url) => window.soundsHeard.has(url + 'wave/title.wav'), url),
           'the title\'s music was not heard');
    assert(await page.isHidden('#message-dialog'), 'a message without the server');
    assertEqual((await state(page)).page, 'osyo.htm', 'the page with a sound');
});
