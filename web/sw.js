// The service worker: it keeps a copy of every file of this build so that the
// game starts and plays without the server once it has been loaded. Each
// build's worker has its own cache; a new build's worker fills its own and then
// drops the old ones.
'use strict';

// Written in by the build: {version, files: [{name, size, sha256}]}.
const BUILD = {version: 'unbuilt', files: []};
// Copies of the game at other addresses of the same site have caches of their own.
const PREFIX = `velmora ${self.registration.scope} `;
const CACHE = PREFIX + BUILD.version;

self.addEventListener('install', (event) => {
    event.waitUntil((async () => {
        const cache = await caches.open(CACHE);
        // All or nothing: a file that does not come, or differs from the
        // build's, leaves the worker before this one in charge.
        await Promise.all(BUILD.files.map(async ({name, sha256}) => {
            const response = await fetch(new Request(name, {cache: 'reload', integrity: `sha256-${sha256}`}));
            if (!response.ok) throw new Error(`${name}: ${response.status}`);
            await cache.put(name, response);
        }));
        await self.skipWaiting();
    })().catch(async (error) => {
        await caches.delete(CACHE);
        throw error;
    }));
});

self.addEventListener('activate', (event) => {
    event.waitUntil((async () => {
        for (const name of await caches.keys()) {
            if (name.startsWith(PREFIX) && name !== CACHE) await caches.delete(name);
        }
    })());
});

self.addEventListener('fetch', (event) => {
    const request = event.request;
    if (request.method !== 'GET' && request.method !== 'HEAD') return;
    if (!request.url.startsWith(self.registration.scope)) return;
    event.respondWith(answer(request));
});

// From the cache first; what it does not hold from the server.
async function answer(request) {
    const url = new URL(request.url);
    // The folder's own address is its page.
    const key = url.pathname.endsWith('/') ? new URL('index.html', url).href : url.href;
    const cache = await caches.open(CACHE);
    const cached = await cache.match(key, {ignoreMethod: true, ignoreSearch: request.mode === 'navigate'});
    if (!cached) return fetch(request);
    // The page asks the archives' sizes before fetching them.
    if (request.method === 'HEAD') {
        return new Response(null, {status: cached.status, statusText: cached.statusText, headers: cached.headers});
    }
    return cached;
}
