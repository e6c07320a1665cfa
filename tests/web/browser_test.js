// The page in headless Chromium over its debugging protocol:
//   node browser_test.js WEB_DIR CAPTURES T1,T2,... SCREENSHOT_DIR
// The canvas at each ?at= time equals the native capture's PNG of that time
// (CAPTURES/desktop, CAPTURES/handheld), byte for byte, in both views, and
// so does a greeting from the address (CAPTURES/greeting, at 65000 ms with
// --to anna --from bob); a run started by a click reaches the game and
// a click on the marked duck raises the level; the audio clock's pace against
// the wall clock is reported; a refused greeting shows on the page; nothing
// on the page logs an error.
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const path = require('path');
const WebSocket = require('ws');
const { serve } = require('../../scripts/serve_web.js');

const [webDir, captures, timeList, screenshotDir] = process.argv.slice(2);
const times = timeList.split(',').map(Number);
const kCeilingMs = 120000;  // for a loaded machine; every wait ends sooner on what it waits for

let failures = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok' : 'FAILED'}: ${what}`);
  if (!ok) failures += 1;
}

// The profile goes in the build tree, where what its helper processes still
// write after the browser ends stays out of the way.
function startChromium() {
  const profile = fs.mkdtempSync(path.join(screenshotDir, 'chromium-'));
  const browser = spawn('chromium', ['--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run',
    '--autoplay-policy=no-user-gesture-required', '--remote-debugging-port=0', `--user-data-dir=${profile}`,
    '--window-size=1000,800', 'about:blank'], { stdio: ['ignore', 'ignore', 'pipe'] });
  return new Promise((resolve, reject) => {
    let text = '';
    browser.stderr.on('data', (chunk) => {
      text += chunk;
      const found = /DevTools listening on (ws:\S+)/.exec(text);
      if (found) resolve({ browser, profile, endpoint: found[1] });
    });
    browser.on('exit', (code) => reject(new Error(`chromium ended (${code}): ${text}`)));
  });
}

// One session on one page: send() returns the result; events go to listeners.
function connect(endpoint) {
  const socket = new WebSocket(endpoint, { perMessageDeflate: false });
  let next = 1;
  const waiting = new Map();
  const listeners = [];
  socket.on('message', (data) => {
    const message = JSON.parse(data);
    if (message.id && waiting.has(message.id)) {
      const { resolve, reject } = waiting.get(message.id);
      waiting.delete(message.id);
      if (message.error) reject(new Error(JSON.stringify(message.error)));
      else resolve(message.result);
    } else if (message.method) {
      for (const listener of listeners) listener(message);
    }
  });
  const send = (method, params = {}, sessionId) => new Promise((resolve, reject) => {
    const id = next++;
    waiting.set(id, { resolve, reject });
    socket.send(JSON.stringify({ id, method, params, sessionId }));
  });
  return new Promise((resolve) => socket.on('open', () => resolve({ socket, send, listeners })));
}

async function openPage(cdp, errors) {
  const { targetId } = await cdp.send('Target.createTarget', { url: 'about:blank' });
  const { sessionId } = await cdp.send('Target.attachToTarget', { targetId, flatten: true });
  const send = (method, params) => cdp.send(method, params, sessionId);
  cdp.listeners.push((message) => {
    if (message.sessionId !== sessionId) return;
    const p = message.params;
    if (message.method === 'Runtime.exceptionThrown') errors.push(p.exceptionDetails.text + ' ' +
      ((p.exceptionDetails.exception || {}).description || ''));
    if (message.method === 'Runtime.consoleAPICalled' && p.type === 'error')
      errors.push(p.args.map((a) => a.value).join(' '));
    if (message.method === 'Log.entryAdded' && p.entry.level === 'error') errors.push(p.entry.text);
  });
  await send('Runtime.enable');
  await send('Log.enable');
  await send('Page.enable');
  const evaluate = async (expression) => {
    const result = await send('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true });
    if (result.exceptionDetails) throw new Error(`${expression}: ${JSON.stringify(result.exceptionDetails)}`);
    return result.result.value;
  };
  const waitFor = async (expression, what) => {
    const start = Date.now();
    for (;;) {
      const value = await evaluate(expression);
      if (value) return value;
      if (Date.now() - start > kCeilingMs) throw new Error(`no ${what} within ${kCeilingMs} ms`);
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
  };
  const screenshot = async (file) => {
    const { data } = await send('Page.captureScreenshot', { format: 'png' });
    fs.writeFileSync(file, Buffer.from(data, 'base64'));
  };
  return { send, evaluate, waitFor, screenshot, targetId };
}

// In the page: the canvas against the PNG, by R, G and B; the differing count.
const compareExpression = (png) => `(async () => {
  const image = new Image();
  image.src = ${JSON.stringify(png)};
  await image.decode();
  const canvas = document.getElementById('canvas');
  if (image.width !== canvas.width || image.height !== canvas.height)
    return 'size ' + canvas.width + 'x' + canvas.height + ' against ' + image.width + 'x' + image.height;
  const scratch = document.createElement('canvas');
  scratch.width = image.width;
  scratch.height = image.height;
  const context = scratch.getContext('2d');
  context.drawImage(image, 0, 0);
  const want = context.getImageData(0, 0, image.width, image.height).data;
  const got = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
  let differing = 0;
  let lit = 0;
  for (let i = 0; i < want.length; i += 4) {
    if (want[i] !== got[i] || want[i + 1] !== got[i + 1] || want[i + 2] !== got[i + 2]) differing += 1;
    if (want[i] || want[i + 1] || want[i + 2]) lit += 1;
  }
  return differing + ' differing of ' + (want.length / 4) + ', ' + lit + ' lit';
})()`;

async function main() {
  const server = await new Promise((resolve) => {
    const s = serve(webDir, 0, (address) => resolve({ s, address }),
                    { '/capture/': captures });
  });
  const base = server.address;
  const { browser, profile, endpoint } = await startChromium();
  const cdp = await connect(endpoint);
  const errors = [];
  try {
    const page = await openPage(cdp, errors);
    const go = async (query) => {
      await page.send('Page.navigate', { url: base + 'index.html' + query });
      await page.waitFor(`document.readyState === 'complete' && document.body.dataset.state !== 'loading'`,
                         `page state for ${query}`);
    };

    for (const [view, query] of [['desktop', ''], ['handheld', '&handheld']]) {
      for (const t of times) {
        await go(`?at=${t}${query}`);
        const name = `t${String(t).padStart(6, '0')}.png`;
        const result = await page.evaluate(compareExpression(`/capture/${view}/${name}`));
        check(/^0 differing/.test(result) && !/, 0 lit/.test(result), `${view} view at ${t} ms: ${result}`);
        if ((view === 'desktop' && t === 16800) || (view === 'handheld' && t === 30600))
          await page.screenshot(path.join(screenshotDir, `web-${view}-${t}.png`));
      }
    }

    await go('?at=65000&to=Anna&from=bob');
    const greeting = await page.evaluate(compareExpression('/capture/greeting/t065000.png'));
    check(/^0 differing/.test(greeting), `a greeting from the address at 65000 ms: ${greeting}`);

    const errorsBeforeRefusal = errors.length;
    await go('?to=%E2%98%83');
    const refusal = await page.evaluate(`document.getElementById('refusal').innerText.trim()`);
    const shown = await page.evaluate(`getComputedStyle(document.getElementById('refusal')).display !== 'none'`);
    check(shown && /--to has "\u2603" \(U\+2603\) at character 1, which the font cannot draw/.test(refusal),
          `a refused greeting is shown on the page: ${JSON.stringify(refusal)}`);
    errors.length = errorsBeforeRefusal;  // the refusal is the one thing that page reports

    const clickToStart = async () => {
      const box = await page.evaluate(`(() => { const r = document.getElementById('prompt').getBoundingClientRect();
        return [r.x + r.width / 2, r.y + r.height / 2]; })()`);
      for (const type of ['mousePressed', 'mouseReleased'])
        await page.send('Input.dispatchMouseEvent', { type, x: box[0], y: box[1], button: 'left', clickCount: 1 });
      await page.waitFor(`window.duckFirstPicture !== undefined`, 'first picture');
      return page.evaluate(`window.duckFirstPicture - window.duckClickTime`);
    };
    const firstPicture = await (go('').then(clickToStart));
    console.log(`first picture ${firstPicture.toFixed(0)} ms after the click`);

    // A real run from just before the game.
    await go('?start=70000');
    await clickToStart();

    // The audio clock against the wall clock over 5 s, once the music plays.
    await page.waitFor(`Module._WebShowTime() > 70100`, 'the music playing');
    const clock = `(() => [Module._WebShowTime(), performance.now()])()`;
    const [showBefore, wallBefore] = await page.evaluate(clock);
    const frames = await page.evaluate(`(async () => { let n = 0; const end = performance.now() + 5000;
      while (performance.now() < end) { await new Promise(requestAnimationFrame); n += 1; } return n; })()`);
    const [showAfter, wallAfter] = await page.evaluate(clock);
    const pace = (showAfter - showBefore) / (wallAfter - wallBefore);
    console.log(`audio clock ${(showAfter - showBefore)} ms over ${(wallAfter - wallBefore).toFixed(0)} ms of ` +
                `wall clock: drift ${((pace - 1) * 100).toFixed(2)}%; ${(frames * 1000 / (wallAfter - wallBefore)).toFixed(1)} fps`);
    // Only a stopped clock or one well ahead fails: pace is a machine's, not the program's.
    check(pace > 0.2 && pace < 1.05, `the audio clock moves and never runs ahead (pace ${pace.toFixed(4)})`);

    await page.waitFor(`Module._WebGameState() === 5`, 'the game waiting for a guess');
    const level = await page.evaluate(`Module._WebGameLevel()`);
    const slot = await page.evaluate(`Module._WebMarkedSlot()`);
    // The marked duck's slot in the BackBuffer, turned onto the desktop canvas.
    const backX = 110;
    const backY = 230 - 35 * slot + 20;
    const target = await page.evaluate(`(() => { const c = document.getElementById('canvas');
      const r = c.getBoundingClientRect(); const s = r.width / c.width;
      return [r.x + (320 - ${backY} + 0.5) * s, r.y + (${backX} + 0.5) * s]; })()`);
    await page.send('Input.dispatchMouseEvent', { type: 'mouseMoved', x: target[0], y: target[1] });
    await page.send('Input.dispatchMouseEvent', { type: 'mousePressed', x: target[0], y: target[1], button: 'left',
                                                  clickCount: 1 });
    await page.send('Input.dispatchMouseEvent', { type: 'mouseReleased', x: target[0], y: target[1],
                                                  button: 'left', clickCount: 1 });
    await page.waitFor(`Module._WebGameLevel() !== ${level}`, 'the level to change');
    const after = await page.evaluate(`Module._WebGameLevel()`);
    check(after === level + 1, `a click on the marked duck raises the level from ${level} to ${after}`);
    await page.screenshot(path.join(screenshotDir, 'web-game-after-click.png'));

    // A hidden page holds the show; shown again, it goes on from there.
    const setHidden = (hidden) => page.evaluate(`(() => {
      Object.defineProperty(document, 'hidden', { value: ${hidden}, configurable: true });
      document.dispatchEvent(new Event('visibilitychange'));
      return Module.duckAudioContext.state; })()`);
    await setHidden(true);
    await page.waitFor(`Module.duckAudioContext.state === 'suspended'`, 'the music suspended');
    const heldAt = await page.evaluate(`Module._WebShowTime()`);
    await page.evaluate(`new Promise((resolve) => setTimeout(resolve, 1000))`);
    const heldThen = await page.evaluate(`Module._WebShowTime()`);
    await setHidden(false);
    await page.waitFor(`Module._WebShowTime() > ${heldThen + 100}`, 'the show going on after the page shows again');
    console.log(`hidden for 1 s: the show moved ${heldThen - heldAt} ms, then went on`);
    check(heldThen - heldAt < 500, 'a hidden page holds the show');

    // Escape quits the desktop program, and the page says so.
    for (const type of ['rawKeyDown', 'keyUp'])
      await page.send('Input.dispatchKeyEvent', { type, key: 'Escape', code: 'Escape', windowsVirtualKeyCode: 27 });
    await page.waitFor(`document.body.dataset.state === 'stopped'`, 'the show to stop on Escape');
    check(await page.evaluate(`Module._WebShowTime() === -1`), 'Escape stops the show');

    check(errors.length === 0, `the page logged no error${errors.length ? ': ' + errors.join('; ') : ''}`);
  } finally {
    cdp.socket.close();
    server.s.close();
    await new Promise((resolve) => { browser.on('exit', resolve); browser.kill(); });
    try {
      fs.rmSync(profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 200 });
    } catch (error) {
      console.log(`left the browser's profile in ${profile}: ${error.message}`);
    }
  }
  console.log(`browser: ${failures === 0 ? 'all passed' : failures + ' failed'}`);
  process.exit(failures === 0 ? 0 : 1);
}

main().catch((error) => {
  console.error(`FAILED: ${error.stack || error}`);
  process.exit(1);
});
