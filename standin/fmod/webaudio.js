// The page's side of the Web Audio output: a node plays a queue of frames the
// program hands it and reports how many it has played. An AudioWorklet plays
// on the browser's audio thread; where there is none, a script processor on
// the page's own thread plays the same queue.
var LibraryDuckWebAudio = {
  // Frames in planar chunks; pull fills a quantum and counts what it played.
  $duckAudioQueueSource: function () {
    return `class DuckFrameQueue {
      constructor() { this.clear(); }
      clear() { this.chunks = []; this.offset = 0; this.played = 0; this.queued = 0; }
      push(left, right) { this.chunks.push([left, right]); this.queued += left.length; }
      pull(left, right) {
        let filled = 0;
        while (filled < left.length && this.chunks.length > 0) {
          const chunk = this.chunks[0];
          const count = Math.min(left.length - filled, chunk[0].length - this.offset);
          left.set(chunk[0].subarray(this.offset, this.offset + count), filled);
          right.set(chunk[1].subarray(this.offset, this.offset + count), filled);
          filled += count;
          this.offset += count;
          if (this.offset === chunk[0].length) { this.chunks.shift(); this.offset = 0; }
        }
        left.fill(0, filled);
        right.fill(0, filled);
        this.played += filled;
        this.queued -= filled;
      }
    }`;
  },

  $duckAudioWorkletSource__deps: ['$duckAudioQueueSource'],
  $duckAudioWorkletSource: function () {
    return duckAudioQueueSource() + `
    class DuckQueueProcessor extends AudioWorkletProcessor {
      constructor() {
        super();
        this.queue = new DuckFrameQueue();
        this.generation = 0;
        this.calls = 0;
        this.port.onmessage = (event) => {
          const message = event.data;
          if (message.restart !== undefined) { this.queue.clear(); this.generation = message.restart; }
          else this.queue.push(message.left, message.right);
        };
      }
      process(inputs, outputs) {
        const out = outputs[0];
        this.queue.pull(out[0], out[1]);
        if (++this.calls % 4 === 0) {
          this.port.postMessage({ generation: this.generation, played: this.queue.played,
                                  at: currentFrame + out[0].length, queued: this.queue.queued });
        }
        return true;
      }
    }
    registerProcessor('duck-queue', DuckQueueProcessor);`;
  },

  // played: frames whose sound starts by context frame at; queued: what the
  // node held beyond them then.
  $duckAudio: {
    context: null, node: null, queue: null, pending: [], generation: 0, played: 0, at: 0, queued: 0,
    report: function (generation, played, at, queued) {
      if (generation !== duckAudio.generation) return;
      duckAudio.played = played;
      duckAudio.at = at;
      duckAudio.queued = queued;
    },
    send: function (left, right) {
      if (duckAudio.queue) duckAudio.queue.push(left, right);
      else duckAudio.node.port.postMessage({ left: left, right: right }, [left.buffer, right.buffer]);
    },
    attach: function (node) {
      node.connect(duckAudio.context.destination);
      duckAudio.node = node;
      var pending = duckAudio.pending;
      duckAudio.pending = [];
      for (var i = 0; i < pending.length; ++i) duckAudio.send(pending[i][0], pending[i][1]);
    },
    useScriptProcessor: function () {
      var Queue = new Function(duckAudioQueueSource() + '; return DuckFrameQueue;')();
      var queue = new Queue();
      var node = duckAudio.context.createScriptProcessor(1024, 0, 2);
      node.onaudioprocess = function (event) {
        var out = event.outputBuffer;
        var before = queue.played;
        queue.pull(out.getChannelData(0), out.getChannelData(1));
        duckAudio.report(duckAudio.generation, before, event.playbackTime * duckAudio.context.sampleRate,
                         queue.queued + queue.played - before);
      };
      duckAudio.queue = queue;
      duckAudio.attach(node);
    },
  },

  WebAudioOpen__deps: ['$duckAudio', '$duckAudioWorkletSource', '$duckAudioQueueSource'],
  WebAudioOpen: function (rate) {
    var Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return 0;
    var context;
    try { context = new Context({ sampleRate: rate, latencyHint: 'interactive' }); } catch (e) { return 0; }
    if (context.sampleRate !== rate) { context.close(); return 0; }
    duckAudio.context = context;
    Module['duckAudioContext'] = context;
    context.resume();
    if (!context.audioWorklet) {
      duckAudio.useScriptProcessor();
      return 1;
    }
    var url = URL.createObjectURL(new Blob([duckAudioWorkletSource()], { type: 'application/javascript' }));
    context.audioWorklet.addModule(url).then(function () {
      var node = new AudioWorkletNode(context, 'duck-queue', { numberOfInputs: 0, outputChannelCount: [2] });
      node.port.onmessage = function (event) {
        var m = event.data;
        duckAudio.report(m.generation, m.played, m.at, m.queued);
      };
      node.port.postMessage({ restart: duckAudio.generation });
      duckAudio.attach(node);
    }, function () { duckAudio.useScriptProcessor(); });
    return 1;
  },

  WebAudioClose__deps: ['$duckAudio'],
  WebAudioClose: function () {
    if (duckAudio.context) duckAudio.context.close();
    duckAudio.context = null;
    duckAudio.node = null;
    duckAudio.queue = null;
    duckAudio.pending = [];
  },

  WebAudioRestart__deps: ['$duckAudio'],
  WebAudioRestart: function () {
    var a = duckAudio;
    a.generation += 1;
    a.played = 0;
    a.queued = 0;
    a.at = a.context ? a.context.currentTime * a.context.sampleRate : 0;
    a.pending = [];
    if (a.queue) a.queue.clear();
    else if (a.node) a.node.port.postMessage({ restart: a.generation });
  },

  WebAudioQueue__deps: ['$duckAudio'],
  WebAudioQueue: function (frames, count) {
    var left = new Float32Array(count);
    var right = new Float32Array(count);
    var base = frames >> 1;
    for (var i = 0; i < count; ++i) {
      left[i] = HEAP16[base + 2 * i] / 32768;
      right[i] = HEAP16[base + 2 * i + 1] / 32768;
    }
    if (duckAudio.node) duckAudio.send(left, right);
    else duckAudio.pending.push([left, right]);
  },

  WebAudioPlayedFrames__deps: ['$duckAudio'],
  WebAudioPlayedFrames: function () { return duckAudio.played; },

  // What the listener has heard: the node's count carried on by the context's
  // clock, never past what it held, less the output's latency.
  WebAudioHeardFrames__deps: ['$duckAudio'],
  WebAudioHeardFrames: function () {
    var a = duckAudio;
    if (!a.context) return 0;
    var now = a.context.currentTime * a.context.sampleRate;
    var since = Math.max(0, Math.min(now - a.at, a.queued));
    var latency = (a.context.outputLatency || a.context.baseLatency || 0) * a.context.sampleRate;
    return Math.max(0, Math.floor(a.played + since - latency));
  },
};

mergeInto(LibraryManager.library, LibraryDuckWebAudio);
