// Serves the browser game's folder as a web host does: the right types,
// gzip where the browser takes it and the file is not packed already, ETags
// for revalidation, and optionally under a sub-path. Plain Node.js.
// usage: node scripts/serve-site.mjs <site folder> [port] [sub-path, e.g. /games/wolby/]
// As a module: serveSite(folder, {port, base, compress}) resolves with
// {url, port, stop, counter}: the counter holds the bytes sent, the requests
// and the names asked for.
import crypto from 'node:crypto';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import url from 'node:url';
import zlib from 'node:zlib';

export const kTypes = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.mjs': 'text/javascript',
  '.wasm': 'application/wasm', '.data': 'application/octet-stream', '.gz': 'application/octet-stream',
  '.png': 'image/png', '.webmanifest': 'application/manifest+json', '.json': 'application/json',
};
const kCompressible = new Set(['.html', '.js', '.mjs', '.wasm', '.data', '.webmanifest', '.json']);

export function serveSite(folder, {port = 0, base = '/', compress = true} = {}) {
  folder = path.resolve(folder);
  const packed = new Map();  // file -> {key, gzip}
  const counter = {bytes: 0, requests: 0, names: []};
  const server = http.createServer((request, response) => {
    const pathname = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    if (!pathname.startsWith(base)) return response.writeHead(404).end();
    const name = pathname.slice(base.length) || 'index.html';
    const file = path.join(folder, name.endsWith('/') ? name + 'index.html' : name);
    let stat = null;
    try {
      stat = fs.statSync(file);
    } catch {
      // answered below
    }
    if (!file.startsWith(folder + path.sep) || !stat || stat.isDirectory()) return response.writeHead(404).end();
    const extension = path.extname(file);
    const gzip = compress && kCompressible.has(extension) && /\bgzip\b/.test(request.headers['accept-encoding'] || '');
    const key = `${stat.size}-${stat.mtimeMs}`;
    const etag = `"${crypto.createHash('sha1').update(key + file).digest('hex').slice(0, 16)}${gzip ? '-gz' : ''}"`;
    const headers = {'Content-Type': kTypes[extension] || 'application/octet-stream', 'Cache-Control': 'no-cache',
                     'ETag': etag, 'Vary': 'Accept-Encoding'};
    counter.requests += 1;
    counter.names.push(name);
    if (request.headers['if-none-match'] === etag) return response.writeHead(304, headers).end();
    let body = fs.readFileSync(file);
    if (gzip) {
      if (packed.get(file)?.key !== key) packed.set(file, {key, gzip: zlib.gzipSync(body, {level: 9})});
      body = packed.get(file).gzip;
      headers['Content-Encoding'] = 'gzip';
    }
    headers['Content-Length'] = body.length;
    counter.bytes += body.length;
    response.writeHead(200, headers);
    response.end(request.method === 'HEAD' ? undefined : body);
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve({
      url: `http://127.0.0.1:${server.address().port}${base}`,
      port: server.address().port,
      counter,
      stop: () => new Promise((done) => {
        server.close(done);
        server.closeAllConnections();
      }),
    }));
  });
}

if (process.argv[1] && path.resolve(process.argv[1]) === url.fileURLToPath(import.meta.url)) {
  const [folder, port = '8000', base = '/'] = process.argv.slice(2);
  if (!folder) {
    console.error('usage: node scripts/serve-site.mjs <site folder> [port] [sub-path]');
    process.exit(2);
  }
  const served = await serveSite(folder, {port: Number(port), base});
  console.log(`Serving ${folder} on ${served.url}`);
}
