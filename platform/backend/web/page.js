// The page's side of the page backend (web_backend.cpp), linked in front of
// the program: the picture files and the command line before the program
// starts, drawing into the canvas, the waits, PNG files and downloads.
Module.preRun = (Module.preRun || []).concat([function () {
  // The launcher looks for a display before it picks a window: the page is one.
  ENV.DISPLAY = 'page';
  // The pictures go into the current folder, where the launcher looks first.
  ['bckgnd.bmp', 'Sprites.bmp', 'MsgWnd.bmp'].forEach(function (name) {
    addRunDependency(name);
    fetch(name).then(function (response) {
      if (!response.ok) throw new Error(name + ': ' + response.status + ' ' + response.statusText);
      return response.arrayBuffer();
    }).then(function (bytes) {
      FS.writeFile('/' + name, new Uint8Array(bytes));
    }).catch(function (error) {
      // The launcher says which picture it missed; the page says why.
      err('Quillmere: ' + error.message);
    }).finally(function () {
      removeRunDependency(name);
    });
  });
}]);

// main() returns to the browser at its first wait and finishes later, after
// the wait it was in: its return value then ends the run as exit() would.
Module.postRun = (Module.postRun || []).concat([function () {
  if (!Asyncify.currData) return;  // it finished without waiting
  Asyncify.whenDone().then(function (code) {
    try {
      exit(code);
    } catch (e) {
      if (!(e instanceof ExitStatus)) throw e;
    }
  });
}]);

Module.quillmere = (function () {
  var canvas = null;
  var context = null;
  var wakeUp = null;

  function screen() {
    if (!context) {
      canvas = document.getElementById('screen');
      context = canvas.getContext('2d', { alpha: false });
    }
    return context;
  }

  return {
    // The rows [top, bottom) of a width x height RGBA frame at `pixels`.
    show: function (pixels, width, height, top, bottom) {
      var ctx = screen();
      var bytes = new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4);
      ctx.putImageData(new ImageData(bytes, width, height), 0, 0, 0, top, width, bottom - top);
      if (Module.onPicture) Module.onPicture();
    },

    overlay: function (text, opacity) {
      var line = document.getElementById('overlay');
      if (!line) return;
      line.textContent = text;
      line.style.opacity = String(opacity / 255);
    },

    cursor: function (visible) {
      var ctx = screen();
      if (ctx) canvas.style.cursor = visible ? 'default' : 'none';
    },

    // A timer the page's events can cut short.
    wait: function (ms) {
      return new Promise(function (resolve) {
        var timer = setTimeout(done, ms);
        function done() {
          clearTimeout(timer);
          wakeUp = null;
          resolve();
        }
        wakeUp = done;
      });
    },

    wake: function () {
      if (wakeUp) wakeUp();
    },

    toggleFullscreen: function () {
      screen();
      if (document.fullscreenElement) document.exitFullscreen();
      else if (canvas.requestFullscreen) canvas.requestFullscreen().catch(function () {});
    },

    savePng: function (rgb, width, height, path) {
      try {
        var picture = document.createElement('canvas');
        picture.width = width;
        picture.height = height;
        var ctx = picture.getContext('2d');
        var image = ctx.createImageData(width, height);
        for (var i = 0, j = 0; i < width * height * 3; i += 3, j += 4) {
          image.data[j] = HEAPU8[rgb + i];
          image.data[j + 1] = HEAPU8[rgb + i + 1];
          image.data[j + 2] = HEAPU8[rgb + i + 2];
          image.data[j + 3] = 255;
        }
        ctx.putImageData(image, 0, 0);
        var text = atob(picture.toDataURL('image/png').split(',')[1]);
        var bytes = new Uint8Array(text.length);
        for (var k = 0; k < text.length; ++k) bytes[k] = text.charCodeAt(k);
        FS.writeFile(path, bytes);
        return 1;
      } catch (e) {
        return 0;
      }
    },

    loadPng: async function (path, size) {
      try {
        var bitmap = await createImageBitmap(new Blob([FS.readFile(path)], { type: 'image/png' }));
        var picture = document.createElement('canvas');
        picture.width = bitmap.width;
        picture.height = bitmap.height;
        var ctx = picture.getContext('2d');
        ctx.drawImage(bitmap, 0, 0);
        var rgba = ctx.getImageData(0, 0, bitmap.width, bitmap.height).data;
        var rgb = _malloc(bitmap.width * bitmap.height * 3);
        if (!rgb) return 0;
        for (var i = 0, j = 0; j < rgba.length; i += 3, j += 4) {
          HEAPU8[rgb + i] = rgba[j];
          HEAPU8[rgb + i + 1] = rgba[j + 1];
          HEAPU8[rgb + i + 2] = rgba[j + 2];
        }
        HEAP32[size >> 2] = bitmap.width;
        HEAP32[(size >> 2) + 1] = bitmap.height;
        return rgb;
      } catch (e) {
        return 0;
      }
    },

    // A saved file offered as a download under its own name.
    offer: function (path) {
      var link = document.createElement('a');
      link.href = URL.createObjectURL(new Blob([FS.readFile(path)], { type: 'image/png' }));
      link.download = path.split('/').pop();
      document.body.appendChild(link);
      link.click();
      link.remove();
      setTimeout(function () { URL.revokeObjectURL(link.href); }, 10000);
    },
  };
})();
