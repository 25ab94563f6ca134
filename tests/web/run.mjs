// Runs the web tests (tests/web/*.test.mjs) against build/web in headless
// Chromium: node tests/web/run.mjs [FILTER...] runs those whose names hold one
// of the filters. Prints GoogleTest's lines, which run-tests.sh counts; a
// failing test leaves screenshots of its pages in build/test-logs/web/.
import {mkdirSync, mkdtempSync, readdirSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {dirname, join} from 'node:path';
import {fileURLToPath} from 'node:url';
import {build, enterGame, launch, openGame, serve, test, tests} from './lib.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const shots = join(build, 'test-logs/web');

// A page of the server's that failed to load is a console error too; the
// tests that mean it check for it themselves.
const NOT_A_FAULT = /^Failed to load resource/;

// What one test opens, closed after it, and screenshot when it fails.
class TestRun {
    constructor(browser, url, name) {
        this.browser = browser;
        this.url = url;
        this.name = name;
        this.pages = [];
        this.servers = [];
        this.folders = [];
        this.errors = [];
    }

    // A fresh browser profile (its own storage) at the game's address, or
    // at `url`.
    async open({url = this.url, ...options} = {}) {
        const page = await openGame(this.browser, url, options);
        page.context().setDefaultTimeout(30000);
        page.on('pageerror', (error) => this.errors.push(`page error: ${error.message}`));
        page.on('console', (message) => {
            if (message.type() === 'error' && !NOT_A_FAULT.test(message.text())) {
                this.errors.push(`console error: ${message.text()}`);
            }
        });
        this.pages.push(page);
        return page;
    }

    // A fresh game past its title, the home page shown.
    async game(options) {
        const page = await this.open(options);
        await enterGame(page);
        return page;
    }

    async serve(dir, base) {
        const server = await serve(dir, base);
        this.servers.push(server);
        return server.url;
    }

    folder() {
        const folder = mkdtempSync(join(tmpdir(), 'velmora-web-'));
        this.folders.push(folder);
        return folder;
    }

    async screenshots() {
        mkdirSync(shots, {recursive: true});
        const saved = [];
        for (const [i, page] of this.pages.entries()) {
            const path = join(shots, `${this.name}${this.pages.length > 1 ? '-' + (i + 1) : ''}.png`);
            try {
                await page.screenshot({path, timeout: 5000});
                saved.push(path);
            } catch {
                // A page that is gone has nothing to show.
            }
        }
        return saved;
    }

    async close() {
        for (const page of this.pages) await page.context().close().catch(() => {});
        for (const server of this.servers) server.stop();
        for (const folder of this.folders) rmSync(folder, {recursive: true, force: true});
    }
}

function withTimeout(promise, ms) {
    let timer;
    const timeout = new Promise((_, reject) => {
        timer = setTimeout(() => reject(new Error(`timed out after ${ms / 1000} s`)), ms);
    });
    return Promise.race([promise, timeout]).finally(() => clearTimeout(timer));
}

// A file that cannot load (a tool missing, say) is one failing test.
for (const file of readdirSync(here).filter((f) => f.endsWith('.test.mjs')).sort()) {
    try {
        await import(join(here, file));
    } catch (error) {
        test(file, () => { throw error; });
    }
}
const filters = process.argv.slice(2);
const chosen = tests.filter((t) => filters.length === 0 || filters.some((f) => t.name.includes(f)));

// Only this run's screenshots.
rmSync(shots, {recursive: true, force: true});
const started = Date.now();
console.log(`[==========] Running ${chosen.length} tests.`);
const server = await serve();
const browser = await launch();
const failed = [];
try {
    for (const {name, fn, timeout} of chosen) {
        console.log(`[ RUN      ] ${name}`);
        const begun = Date.now();
        const run = new TestRun(browser, server.url, name);
        let failure = null;
        try {
            await withTimeout(fn(run), timeout);
            if (run.errors.length > 0) failure = new Error(run.errors.join('\n'));
        } catch (error) {
            failure = error;
        }
        if (failure) {
            const [first, ...rest] = String(failure.message || failure).split('\n');
            console.log(`FAIL: ${name}: ${first}`);
            for (const line of rest) console.log(`  ${line}`);
            const at = String(failure.stack || '').split('\n').filter((l) => /^\s+at /.test(l));
            if (at.length > 0) console.log(at.slice(0, 4).join('\n'));
            for (const path of await run.screenshots()) console.log(`  screenshot: ${path}`);
            failed.push(name);
        }
        await run.close();
        const ms = Date.now() - begun;
        console.log(failure ? `[  FAILED  ] ${name} (${ms} ms)` : `[       OK ] ${name} (${ms} ms)`);
    }
} finally {
    await browser.close();
    server.stop();
}

console.log(`[==========] ${chosen.length} tests ran. (${Date.now() - started} ms total)`);
console.log(`[  PASSED  ] ${chosen.length - failed.length} tests.`);
if (failed.length > 0) {
    console.log(`[  FAILED  ] ${failed.length} tests, listed below:`);
    for (const name of failed) console.log(`[  FAILED  ] ${name}`);
}
// Now: a test that timed out may have left work going.
process.exit(failed.length > 0 || chosen.length === 0 ? 1 : 0);
