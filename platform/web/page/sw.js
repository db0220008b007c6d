// The browser game offline: every file of one build kept in a cache named by
// the build's digest and answered from it first. scripts/web.sh writes the
// build's name and its files (each with its SHA-256) in place of the two
// markers below.
//
// A page keeps the worker that answered it for its whole life, and this
// worker never takes over pages that another one answered (no skipWaiting, no
// claim): a new build waits until every page of the old one has gone, so a
// page, its program and its data always come from one build. A returning
// player gets a new build on the visit after the one that found it.
'use strict';

const kBuild = '@BUILD@';
const kFiles = @FILES@;
const kCache = 'wolby-' + kBuild;

function hex(buffer) {
  return Array.from(new Uint8Array(buffer), (b) => b.toString(16).padStart(2, '0')).join('');
}

// Each file as the host has it now, and only if it is this build's file: a
// deploy under way (some files old, some new) fails the install, which the
// browser tries again on a later visit.
async function keep(cache, name) {
  const response = await fetch(new Request(name, {cache: 'no-cache'}));
  if (!response.ok) throw new Error(name + ': ' + response.status);
  const sum = hex(await crypto.subtle.digest('SHA-256', await response.clone().arrayBuffer()));
  if (sum !== kFiles[name]) throw new Error(name + ' is not of build ' + kBuild);
  await cache.put(new URL(name, self.registration.scope).href, response);
}

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(kCache).then((cache) =>
    Promise.all(Object.keys(kFiles).map((name) => keep(cache, name)))).catch(async (error) => {
    await caches.delete(kCache);
    throw error;
  }));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys().then((names) => Promise.all(
      names.filter((name) => name.startsWith('wolby-') && name !== kCache).map((name) => caches.delete(name)))));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET') return;
  const scope = new URL(self.registration.scope);
  const url = new URL(request.url);
  if (url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname)) return;
  let name = url.pathname.slice(scope.pathname.length);
  if (request.mode === 'navigate' && (name === '' || name === 'index.html')) name = 'index.html';
  if (!Object.prototype.hasOwnProperty.call(kFiles, name)) return;
  event.respondWith(caches.open(kCache).then((cache) => cache.match(new URL(name, scope).href))
      .then((kept) => kept || fetch(request)));
});
