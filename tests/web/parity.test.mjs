// Every page of the demo world lays out in the web edition box for box as the
// Windows edition's velrender lays it out, for the same view, visited pages
// and plug-in.
import {execFile, spawn} from 'node:child_process';
import {once} from 'node:events';
import {closeSync, mkdirSync, openSync, readFileSync, writeFileSync} from 'node:fs';
import {dirname, join} from 'node:path';
import {promisify} from 'node:util';
import {
    assertEqual, build, cp932, idle, newPageAfter, parseDump, root, state, test, velarc, worldDir,
} from './lib.mjs';

const run = promisify(execFile);
const velrender = join(root, 'scripts/velrender');
const BOXES = ['link', 'picture', 'table', 'control'];

// velrender's layout of `shown` ({page or words, visited, plugin, client}),
// its output through files in `folder`: Wine's helper programs keep a pipe
// open for a second after the program has ended.
async function windowsLayout(shown, folder) {
    const args = ['--client', `${shown.client.width}x${shown.client.height}`];
    for (const name of shown.visited) args.push('--visited', name);
    if (shown.plugin) args.push('--plugin');
    const out = join(folder, 'page.bmp');
    if (shown.words !== undefined) args.push('--search', shown.words, worldDir, out, '--dump');
    else args.push(worldDir, shown.page, out, '--dump');
    const files = [join(folder, 'stdout'), join(folder, 'stderr')];
    const fds = files.map((file) => openSync(file, 'w'));
    try {
        const child = spawn(velrender, args, {stdio: ['ignore', ...fds]});
        const [status] = await once(child, 'exit');
        if (status !== 0) throw new Error(`status ${status}: ${readFileSync(files[1], 'utf8').trim()}`);
    } finally {
        fds.forEach((fd) => closeSync(fd));
    }
    return parseDump(readFileSync(files[0], 'utf8'));
}

// The differences of two layouts, boxes and runs: [{what, web, windows}].
function compare(web, windows) {
    const boxes = [];
    const runs = [];
    const differ = (a, b) => JSON.stringify(a) !== JSON.stringify(b);
    if (differ(web.page, windows.page)) boxes.push({what: 'page', web: web.page, windows: windows.page});
    for (const kind of BOXES) {
        for (let i = 0; i < Math.max(web[kind].length, windows[kind].length); i++) {
            if (differ(web[kind][i], windows[kind][i])) {
                boxes.push({what: `${kind} ${i}`, web: web[kind][i], windows: windows[kind][i]});
            }
        }
    }
    for (let i = 0; i < Math.max(web.run.length, windows.run.length); i++) {
        if (differ(web.run[i], windows.run[i])) runs.push({what: `run ${i}`, web: web.run[i], windows: windows.run[i]});
    }
    return {boxes, runs};
}

test('Parity.every_page_lays_out_as_velrender_lays_it_out', async (testRun) => {
    const names = cp932(await velarc('list', join(worldDir, 'Text.arc'))).split(/\r?\n/)
        .map((line) => line.split('\t')[0]).filter((name) => /\.htm$/i.test(name));
    const page = await testRun.game();

    // velrender runs beside the web edition, under one Wine server kept
    // running between its runs.
    await run('bash', ['-c', '. scripts/wine-env.sh && ensure_wine_prefix >/dev/null 2>&1 && ' +
                       'wineserver -p10 </dev/null >/dev/null 2>&1'],
              {cwd: root, env: {...process.env, BUILD_DIR: build}});
    const begun = Date.now();
    const folder = testRun.folder();
    // One at a time: two Wine programs side by side take longer than one after the other.
    let windows = Promise.resolve();
    const shown = [];
    const compareLater = (s) => {
        shown.push(s);
        windows = windows.then(() => windowsLayout(s, folder)).then(
            (layout) => { s.windows = layout; },
            (error) => { s.failed = `velrender failed: ${error.message}`; });
    };

    // The home page as the game starts on it, in a new game: nothing visited before it.
    compareLater({asked: 'the home page at the start', ...await state(page), visited: [],
                  dump: await page.evaluate(() => window.velmoraDump())});
    // Each page as the web edition shows it, with what its layout depends on:
    // the pages visited before it (it counts as visited only once it is
    // shown), the plug-in and the view. Opening pages moves the story on, so
    // the page shown may be another than the one asked for.
    for (const name of names) {
        compareLater({asked: name, ...await page.evaluate(async (n) => {
            const {visited} = window.velmora.state();
            await window.velmora.open(n);
            await window.velmora.idle();
            return {...window.velmora.state(), visited, dump: window.velmoraDump()};
        }, name)});
    }
    // And a search's result page, which the game builds.
    const words = '霧';
    await page.evaluate(() => window.velmora.open('search.htm'));
    await idle(page);
    const {visited} = await state(page);
    const field = page.locator('input.page-control:visible').first();
    await field.fill(words);
    await newPageAfter(page, () => field.press('Enter'));
    compareLater({asked: `the search for ${words}`, words, ...await state(page), visited,
                  dump: await page.evaluate(() => window.velmoraDump())});
    const webMs = Date.now() - begun;
    await windows;
    console.log(`${shown.length} pages: the web edition's in ${webMs} ms, velrender's in ${Date.now() - begun} ms`);

    let boxes = 0;
    let boxesCompared = 0;
    let runs = 0;
    let runsCompared = 0;
    const toldBoxes = [];
    const toldRuns = [];
    const tell = (list, where, d) =>
        list.push(`${where} ${d.what}: web ${JSON.stringify(d.web)}, windows ${JSON.stringify(d.windows)}`);
    for (const s of shown) {
        const where = s.asked === s.page ? s.page : `${s.asked} (shown: ${s.page})`;
        if (s.failed) {
            boxes++;
            toldBoxes.push(`${where}: ${s.failed}`);
            continue;
        }
        const web = parseDump(s.dump);
        const found = compare(web, s.windows);
        boxes += found.boxes.length;
        runs += found.runs.length;
        boxesCompared += 1 + BOXES.reduce((n, kind) => n + Math.max(web[kind].length, s.windows[kind].length), 0);
        runsCompared += Math.max(web.run.length, s.windows.run.length);
        found.boxes.forEach((d) => tell(toldBoxes, where, d));
        found.runs.forEach((d) => tell(toldRuns, where, d));
        for (const line of web.unread) toldBoxes.push(`${where}: the web's dump has the line ${JSON.stringify(line)}`);
    }
    const views = [...new Set(shown.map((s) => `${s.client.width}x${s.client.height}`))];
    const summary = `layout parity: ${shown.length} pages, ${boxes} boxes different (of ${boxesCompared}), ` +
        `${runs} runs different (of ${runsCompared}); views ${views.join(', ')}`;
    console.log(summary);
    if (boxes > 0 || runs > 0) {
        const all = join(build, 'test-logs/web/parity.txt');
        mkdirSync(dirname(all), {recursive: true});
        writeFileSync(all, [summary, ...toldBoxes, ...toldRuns, ''].join('\n'));
        throw new Error([summary, `the first differences (all in ${all}):`, ...toldBoxes.slice(0, 20),
                         ...toldRuns.slice(0, 5)].join('\n'));
    }
    assertEqual(shown.length, names.length + 2, 'pages compared');
}, {timeout: 150000});
