// A small static web server for build/web: node scripts/serve-web.mjs [DIR]
// [PORT] [--base /SUB/PATH/]. It listens on 127.0.0.1 only, prints the
// address it serves on its first line, and stops with Ctrl+C. Port 0 takes
// any free port; --base serves the folder under that path only, as a site
// that holds the game in a folder of its own would.
import {createServer} from 'node:http';
import {createReadStream, statSync} from 'node:fs';
import {extname, join, normalize, resolve} from 'node:path';

const args = process.argv.slice(2);
let base = '/';
const baseAt = args.indexOf('--base');
if (baseAt >= 0) {
    base = ('/' + args.splice(baseAt, 2)[1] + '/').replace(/\/+/g, '/');
}
const root = resolve(args[0] || 'build/web');
const port = Number(args[1] || 8080);
const TYPES = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.mjs': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.wasm': 'application/wasm',
    '.json': 'application/json',
    '.ttf': 'font/ttf',
    '.wav': 'audio/wav',
    '.bmp': 'image/bmp',
    '.txt': 'text/plain; charset=utf-8',
};

const server = createServer((request, response) => {
    let path;
    try {
        path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    } catch {
        response.writeHead(400).end();
        return;
    }
    if (path + '/' === base) {
        response.writeHead(301, {Location: base}).end();
        return;
    }
    if (!path.startsWith(base)) {
        response.writeHead(404).end();
        return;
    }
    path = path.slice(base.length - 1);
    if (path.endsWith('/')) path += 'index.html';
    // Nothing outside the folder, however the path is spelled.
    const file = normalize(join(root, path));
    if (!file.startsWith(root)) {
        response.writeHead(403).end();
        return;
    }
    let stat;
    try {
        stat = statSync(file);
    } catch {
        response.writeHead(404).end();
        return;
    }
    if (!stat.isFile()) {
        response.writeHead(404).end();
        return;
    }
    response.writeHead(200, {
        'Content-Type': TYPES[extname(file).toLowerCase()] || 'application/octet-stream',
        'Content-Length': stat.size,
        'Cache-Control': 'no-cache',
    });
    if (request.method === 'HEAD') {
        response.end();
        return;
    }
    createReadStream(file).pipe(response);
});

server.listen(port, '127.0.0.1', () => {
    console.log(`http://127.0.0.1:${server.address().port}${base}`);
});
