// Serves a folder on 127.0.0.1: node serve_web.js FOLDER [PORT]. Port 0 (the
// default for tests) takes any free one; the address is printed either way.
'use strict';
const http = require('http');
const fs = require('fs');
const path = require('path');

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream', '.png': 'image/png',
};

// Resolves only paths inside root, or inside a mounted folder for names under
// its prefix ({'/capture/': folder}); anything else is not found.
function serve(root, port, onListening, mounts = {}) {
  const server = http.createServer((request, response) => {
    let name = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
    let base = path.resolve(root);
    for (const prefix of Object.keys(mounts)) {
      if (name.startsWith(prefix)) {
        base = path.resolve(mounts[prefix]);
        name = '/' + name.slice(prefix.length);
      }
    }
    let file = path.resolve(base, '.' + (name.endsWith('/') ? name + 'index.html' : name));
    if (!file.startsWith(base + path.sep)) file = '';
    fs.readFile(file, (error, body) => {
      if (error) {
        response.writeHead(404, { 'Content-Type': 'text/plain' });
        response.end('not found\n');
        return;
      }
      response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream',
                                'Cache-Control': 'no-store' });
      response.end(body);
    });
  });
  server.listen(port, '127.0.0.1', () => onListening(`http://127.0.0.1:${server.address().port}/`));
  return server;
}

if (require.main === module) {
  const root = process.argv[2] || 'build/web';
  const port = Number(process.argv[3] || 8024);
  serve(root, port, (address) => console.log(`serving ${root} at ${address} (Ctrl-C stops)`));
}

module.exports = { serve };
