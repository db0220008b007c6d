// The browser backend's calls of its page (web_page.h). The page itself
// (page/wolby-page.js) hands each instance of the game a `wolbyPage` with its
// picture, layout, cursor and dialogs; these functions only pass things on.
mergeInto(LibraryManager.library, {
  $wolbyWaiting: {wake: null},

  wolby_web_wait__deps: ['$wolbyWaiting'],
  wolby_web_wait: function(timeoutMs) {
    return Asyncify.handleSleep(function(wakeUp) {
      var timer = null;
      var woken = false;
      function wake() {
        if (woken) return;
        woken = true;
        wolbyWaiting.wake = null;
        if (timer !== null) clearTimeout(timer);
        Module['wolbyPage'].waiting(null);
        wakeUp();
      }
      wolbyWaiting.wake = wake;
      if (timeoutMs >= 0) timer = setTimeout(wake, timeoutMs);
      Module['wolbyPage'].waiting(timeoutMs);
    });
  },

  // Holds the program until the deadline (the growing disc's 10 ms steps,
  // begun at `began`); events do not end it.
  wolby_web_pause: function(began, deadline) {
    return Asyncify.handleSleep(function(wakeUp) {
      (function wait() {
        var left = deadline - performance.now();
        if (left > 0) {
          setTimeout(wait, Math.ceil(left));
          return;
        }
        Module['wolbyPage'].paused(began, performance.now());
        wakeUp();
      })();
    });
  },

  // Gives the page its thread back and goes on in a task of its own: the
  // start's long steps are split so that the page stays answering. A message
  // to itself, which no timer's minimum delays.
  $wolbyYield: {channel: null},
  wolby_web_yield__deps: ['$wolbyYield'],
  wolby_web_yield: function() {
    return Asyncify.handleSleep(function(wakeUp) {
      if (!wolbyYield.channel) wolbyYield.channel = new MessageChannel();
      wolbyYield.channel.port1.onmessage = function() { wakeUp(); };
      wolbyYield.channel.port2.postMessage(0);
    });
  },

  // Called from an event's callback, inside the program's code: the program
  // goes on once that callback has returned.
  wolby_web_wake__deps: ['$wolbyWaiting'],
  wolby_web_wake: function() {
    var wake = wolbyWaiting.wake;
    if (wake) Promise.resolve().then(wake);
  },

  wolby_web_put_pixels: function(rgba, x, y, width, height) {
    var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    Module['wolbyPage'].putPixels(new ImageData(pixels, width, height), x, y);
  },

  wolby_web_page_has_keys: function() {
    return Module['wolbyPage'].hasKeys() ? 1 : 0;
  },

  wolby_web_picture_point: function(clientX, clientY) {
    var point = Module['wolbyPage'].picturePoint(clientX, clientY);
    return point.x | (point.y << 16);
  },

  wolby_web_set_cursor: function(mask) {
    Module['wolbyPage'].setCursor(mask ? HEAPU8.slice(mask, mask + 32 * 32) : null);
  },

  wolby_web_message_box: function(text, caption, yesNo, error) {
    return Asyncify.handleSleep(function(wakeUp) {
      Module['wolbyPage']
          .messageBox(UTF8ToString(text), UTF8ToString(caption), !!yesNo, !!error)
          .then(function(button) { wakeUp(button); });
    });
  },

  wolby_web_ended: function(status) {
    Module['wolbyPage'].ended(status);
  },

  wolby_web_line: function(utf8) {
    Module['wolbyPage'].line(UTF8ToString(utf8));
  },

  // fsync: the file's storage is written before the call returns (IDBFS:
  // the browser's IndexedDB), and a write it refuses fails the call. The
  // library's own version (emscripten 3.1.6) hands the failure back as a
  // function, which the program reads as success: a save the browser did not
  // keep would be reported as made.
  fd_sync__deps: ['$SYSCALLS'],
  fd_sync__sig: 'ii',
  fd_sync: function(fd) {
    var stream;
    try {
      stream = SYSCALLS.getStreamFromFD(fd);
    } catch (error) {
      if (typeof FS == 'undefined' || !(error instanceof FS.ErrnoError)) throw error;
      return error.errno;
    }
    var mount = stream.node.mount;
    if (!mount.type.syncfs) return 0;  // memory only: nothing more to write
    return Asyncify.handleSleep(function(wakeUp) {
      mount.type.syncfs(mount, false, function(error) {
        wakeUp(error ? {{{ cDefine('EIO') }}} : 0);
      });
    });
  },
});
