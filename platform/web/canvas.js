// The page's side of the canvas Display and of the page's states.
var LibraryDuckCanvas = {
  $duckCanvas: { context: null, image: null },

  WebCanvasPresent__deps: ['$duckCanvas'],
  WebCanvasPresent: function (rgba, width, height) {
    var canvas = Module['canvas'];
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
      duckCanvas.image = null;
      if (Module['fitCanvas']) Module['fitCanvas']();
    }
    if (!duckCanvas.context) duckCanvas.context = canvas.getContext('2d');
    if (!duckCanvas.image) duckCanvas.image = duckCanvas.context.createImageData(width, height);
    duckCanvas.image.data.set(HEAPU8.subarray(rgba, rgba + width * height * 4));
    duckCanvas.context.putImageData(duckCanvas.image, 0, 0);
    if (Module['onPresent']) Module['onPresent']();
  },

  // "ready", "running", "drawn", "stopped" or "refused", for the page to show.
  WebPageState: function (state) {
    if (Module['onState']) Module['onState'](UTF8ToString(state));
  },
};

mergeInto(LibraryManager.library, LibraryDuckCanvas);
