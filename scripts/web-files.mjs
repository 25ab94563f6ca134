// Lists the files of a built web edition for its service worker: node
// scripts/web-files.mjs DIR writes DIR/files.json (each file's name, size and
// SHA-256) and writes the same list, with a version hashed from it, into
// DIR/sw.js, so that every new build is a new worker with a cache of its own.
import {createHash} from 'node:crypto';
import {readdirSync, readFileSync, statSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';

const dir = process.argv[2];
// The worker itself is the browser's to fetch, and the list is in it.
const LEFT_OUT = new Set(['sw.js', 'files.json']);

function walk(folder, prefix) {
    const names = [];
    for (const entry of readdirSync(folder)) {
        const name = prefix + entry;
        // Linked files and folders are served as what they link to.
        const stat = statSync(join(folder, entry));
        if (stat.isDirectory()) names.push(...walk(join(folder, entry), name + '/'));
        else if (stat.isFile() && !LEFT_OUT.has(name)) names.push(name);
    }
    return names;
}

const files = walk(dir, '').sort().map((name) => {
    const bytes = readFileSync(join(dir, name));
    return {name, size: bytes.length, sha256: createHash('sha256').update(bytes).digest('base64')};
});
const version = createHash('sha256').update(JSON.stringify(files)).digest('hex').slice(0, 16);
const build = {version, files};
writeFileSync(join(dir, 'files.json'), JSON.stringify(build, null, 1) + '\n');

const worker = join(dir, 'sw.js');
const source = readFileSync(worker, 'utf8');
const marker = /^const BUILD = .*;$/m;
if (!marker.test(source)) throw new Error(`${worker} has no line "const BUILD = ...;"`);
writeFileSync(worker, source.replace(marker, () => `const BUILD = ${JSON.stringify(build)};`));
const bytes = files.reduce((n, f) => n + f.size, 0);
console.log(`web: ${files.length} files, ${bytes} bytes for offline play, version ${version}`);
