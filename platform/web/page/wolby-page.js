// The page around the browser game: it lays the 800 x 600 picture out to fill
// the window with its aspect kept, makes the fork cursor at that scale, shows
// the game's dialogs, keeps setting.dat in the browser's storage, hands it
// over and takes one back, and offers a new game when the game has ended.
// The game itself (wolby.js) calls the page through `wolbyPage`.
'use strict';

var wolbyPage = (function() {
  var stage = document.getElementById('stage');
  var canvas = document.getElementById('picture');
  var context = canvas.getContext('2d', {alpha: false});
  var picture = {left: 0, top: 0, width: 800, height: 600};
  var cursorMask = null;
  var cursorSize = 0;
  var game = null;            // the running (or last) instance of the game
  var pickedSettings = null;  // bytes to put in place before the next start
  var running = false;
  var restartWanted = false;  // asked for while a game was still starting

  // The program and its data, fetched by the page's head; kept for every new
  // game of this page.
  var fetched = window.wolbyFetched || {program: Promise.reject(new Error('not fetched')),
                                         data: Promise.reject(new Error('not fetched'))};

  // ------------------------------------------------------------ the picture
  // The largest 4:3 rectangle that fits the window, centred; black bars around.
  function layout() {
    var width = window.innerWidth;
    var height = window.innerHeight;
    var w = width;
    var h = Math.floor(width * 600 / 800);
    if (h > height) {
      h = height;
      w = Math.floor(height * 800 / 600);
    }
    w = Math.max(w, 1);
    h = Math.max(h, 1);
    picture = {left: Math.floor((width - w) / 2), top: Math.floor((height - h) / 2), width: w, height: h};
    canvas.style.left = picture.left + 'px';
    canvas.style.top = picture.top + 'px';
    canvas.style.width = w + 'px';
    canvas.style.height = h + 'px';
    makeCursor();
  }

  function picturePoint(clientX, clientY) {
    var clamp = function(v, high) { return Math.min(Math.max(v, 0), high); };
    return {
      x: clamp(Math.floor((clientX - picture.left) * 800 / picture.width), 799),
      y: clamp(Math.floor((clientY - picture.top) * 600 / picture.height), 599),
    };
  }

  function putPixels(image, x, y) {
    context.putImageData(image, x, y);
    var now = performance.now();
    if (status.firstPicture === null) {
      status.firstPicture = now;
      loaded();
    }
    if (record) record.pictures.push({time: now, x: x, y: y, width: image.width, height: image.height});
  }

  // The fork at the picture's scale (nearest neighbour), so that its middle
  // prong stays where the game takes the click; browsers show at most 128 px.
  function makeCursor() {
    if (!cursorMask) {
      stage.style.cursor = '';
      cursorSize = 0;
      return;
    }
    var size = Math.min(128, Math.max(8, Math.round(32 * picture.width / 800)));
    if (size === cursorSize) return;
    var drawn = document.createElement('canvas');
    drawn.width = drawn.height = size;
    var pen = drawn.getContext('2d');
    var image = pen.createImageData(size, size);
    for (var y = 0; y < size; ++y) {
      for (var x = 0; x < size; ++x) {
        if (!cursorMask[Math.floor(y * 32 / size) * 32 + Math.floor(x * 32 / size)]) continue;
        image.data.fill(255, (y * size + x) * 4, (y * size + x) * 4 + 4);
      }
    }
    pen.putImageData(image, 0, 0);
    stage.style.cursor = 'url(' + drawn.toDataURL('image/png') + ') 0 0, default';
    cursorSize = size;
  }

  function setCursor(mask) {
    cursorMask = mask;
    cursorSize = 0;
    makeCursor();
  }

  // ------------------------------------------------------------ dialogs
  // A modal box over the picture; Enter answers the first button, Escape the
  // last. Resolves with the button's index.
  function messageBox(text, caption, yesNo, error) {
    return new Promise(function(resolve) {
      var veil = document.getElementById('dialog');
      var row = document.getElementById('dialog-buttons');
      var names = yesNo ? ['Tak', 'Nie'] : ['OK'];
      document.getElementById('dialog-caption').textContent = caption;
      var body = document.getElementById('dialog-text');
      body.textContent = text;
      body.className = error ? 'error' : '';
      row.textContent = '';
      var answer = function(index) {
        document.removeEventListener('keydown', keys, true);
        veil.hidden = true;
        resolve(index);
      };
      var keys = function(event) {
        if (event.key === 'Enter') answer(0);
        else if (event.key === 'Escape') answer(names.length - 1);
        else if (event.key !== 'Tab') return;
        if (event.key === 'Tab') {
          // Focus stays on the box's own buttons.
          var buttons = row.querySelectorAll('button');
          var at = Array.prototype.indexOf.call(buttons, document.activeElement);
          buttons[(at + (event.shiftKey ? buttons.length - 1 : 1)) % buttons.length].focus();
        }
        event.preventDefault();
        event.stopPropagation();
      };
      names.forEach(function(name, index) {
        var button = document.createElement('button');
        button.type = 'button';
        button.textContent = name;
        button.addEventListener('click', function() { answer(index); });
        row.appendChild(button);
      });
      document.addEventListener('keydown', keys, true);
      veil.hidden = false;
      row.firstChild.focus();
    });
  }

  // ------------------------------------------------------------ the settings file
  var kept = '/kept/setting.dat';

  // IDBFS (emscripten 3.1.6) never ends a flush whose writes the storage
  // refuses: neither a request that fails later nor a whole transaction the
  // browser aborts (as it does when the storage is full) reaches its callback,
  // and the game would hang in its save. These report both, so the save fails
  // with the game's message instead (IDBFS takes the first error only).
  function reportStorageErrors(IDBFS) {
    // One request on the store, its error (or its transaction's) handed to the callback.
    function request(make, path, callback) {
      var made;
      try {
        made = make();
      } catch (error) {
        callback(error);
        return;
      }
      made.onsuccess = function() { callback(null); };
      made.onerror = function(event) {
        callback(made.error || new Error('the browser refused to change ' + path));
        event.preventDefault();
      };
      made.transaction.addEventListener('abort', function() {
        callback(made.transaction.error || new Error('the browser did not keep ' + path));
      });
    }
    IDBFS.storeRemoteEntry = function(store, path, entry, callback) {
      request(function() { return store.put(entry, path); }, path, callback);
    };
    IDBFS.removeRemoteEntry = function(store, path, callback) {
      request(function() { return store.delete(path); }, path, callback);
    };
  }

  function prepareStorage(module) {
    var FS = module.FS;
    reportStorageErrors(FS.filesystems.IDBFS);
    FS.mkdir('/kept');
    FS.mount(FS.filesystems.IDBFS, {}, '/kept');
    module.addRunDependency('kept-settings');
    FS.syncfs(true, function(error) {
      if (error) console.warn('wolby: the kept settings cannot be read:', error);
      if (!pickedSettings) {
        module.removeRunDependency('kept-settings');
        return;
      }
      FS.writeFile(kept, pickedSettings);
      pickedSettings = null;
      FS.syncfs(false, function(saveError) {
        if (!saveError) {
          module.removeRunDependency('kept-settings');
          return;
        }
        // The game starts with the file, which the next visit will not have.
        console.warn('wolby: the chosen settings cannot be kept:', saveError);
        messageBox('Nie mo\u017cna zapisa\u0107 pliku z ustawieniami', 'B\u0142\u0105d', false, false)
            .then(function() { module.removeRunDependency('kept-settings'); });
      });
    });
  }

  function keptBytes() {
    try {
      return game ? game.FS.readFile(kept) : null;
    } catch (e) {
      return null;
    }
  }

  function offerDownload(event) {
    var bytes = keptBytes();
    var link = document.getElementById('download');
    if (!bytes) {
      event.preventDefault();
      return;
    }
    if (link.href.startsWith('blob:')) URL.revokeObjectURL(link.href);
    link.href = URL.createObjectURL(new Blob([bytes], {type: 'application/octet-stream'}));
  }

  // A chosen file becomes the kept one and the game starts again, reading it
  // as it reads any settings file. The game reads no more than a file's first
  // 25 bytes: a larger file is kept cut (of any size it might be).
  var kPickedMost = 1024;
  function takePicked() {
    var input = document.getElementById('picked');
    var file = input.files && input.files[0];
    if (!file) return;
    file.slice(0, kPickedMost).arrayBuffer().then(function(buffer) {
      pickedSettings = new Uint8Array(buffer);
      showTools(false);
      restart();
    }, function(error) {
      console.warn('wolby: the chosen file cannot be read:', error);
    }).then(function() { input.value = ''; });
  }

  // Whether the keyboard is on the open ⚙ panel's controls: Tab, Enter and
  // Space are theirs then, and Escape closes the panel. With the panel closed
  // every key is the game's, wherever the focus was left.
  function hasKeys() {
    var focused = document.activeElement;
    return !document.getElementById('tools').hidden &&
           !!(focused && focused.closest && focused.closest('#tools, #tools-toggle'));
  }

  function showTools(shown) {
    document.getElementById('tools').hidden = !shown;
    document.getElementById('tools-toggle').setAttribute('aria-expanded', shown ? 'true' : 'false');
  }

  // ------------------------------------------------------------ what the checks read
  // Whether the game waits for input now (and how often it has begun to),
  // the kept settings file, and, once asked for, a record of the pictures
  // put, the pauses and the page's input, with their times.
  var status = {waiting: false, waits: 0, waitBegan: 0, firstPicture: null};
  var record = null;

  function waiting(timeoutMs) {
    status.waiting = timeoutMs !== null;
    if (!status.waiting) return;
    status.waits += 1;
    status.waitBegan = performance.now();
  }

  function paused(began, ended) {
    if (record) record.pauses.push(ended - began);
  }

  var recording = false;
  function startRecord() {
    record = {pictures: [], pauses: [], inputs: []};
    if (recording) return;
    recording = true;
    ['mousemove', 'mousedown', 'touchstart'].forEach(function(type) {
      // The event's own time: when the person acted, before any handling.
      stage.addEventListener(type, function(event) {
        if (record) record.inputs.push({type: type, time: event.timeStamp});
      }, {capture: true, passive: true});
    });
  }

  function takeRecord() {
    var taken = record;
    record = {pictures: [], pauses: [], inputs: []};
    return taken;
  }

  // ------------------------------------------------------------ loaded, and offline
  // Once the game has drawn, the loading line goes and the service worker
  // (sw.js, written by the build) keeps this build for the visits to come; a
  // build that never started is not kept. Nothing of this from file://.
  var workerAsked = false;
  function loaded() {
    document.getElementById('loading').hidden = true;
    if (workerAsked || !('serviceWorker' in navigator) || location.protocol === 'file:') return;
    workerAsked = true;
    navigator.serviceWorker.register('sw.js').catch(function(error) {
      console.warn('wolby: the game cannot be kept for offline play:', error);
    });
  }

  // ------------------------------------------------------------ running the game
  var kEndedText = 'Gra zosta\u0142a zako\u0144czona.';

  function showEnded(text) {
    document.getElementById('ended-text').textContent = text;
    document.getElementById('ended').hidden = false;
    document.getElementById('again').focus();
  }

  function ended(status) {
    running = false;
    showEnded(kEndedText);
    window.dispatchEvent(new CustomEvent('wolby-ended', {detail: status}));
  }

  // The game could not start or stopped on an error: the page says so and
  // offers to try again, instead of staying black.
  function failed(error) {
    console.error('wolby: the game stopped:', error);
    document.getElementById('loading').hidden = true;
    running = false;
    game = null;
    showEnded('Nie uda\u0142o si\u0119 uruchomi\u0107 gry.');
  }

  function start() {
    if (running) return;
    running = true;
    game = null;
    status.firstPicture = null;
    document.getElementById('ended').hidden = true;
    context.fillStyle = '#000';
    context.fillRect(0, 0, 800, 600);
    var settings = {
      wolbyPage: wolbyPage,
      preRun: [prepareStorage],
      print: function(text) { console.log(text); },
      printErr: function(text) { console.warn(text); },
      onAbort: failed,
    };
    // A frame's yield once all has come: the loader's last work and the
    // game's start are tasks of their own, and the loading line is painted.
    var nextFrame = function(value) {
      return new Promise(function(resolve) {
        requestAnimationFrame(function() { setTimeout(function() { resolve(value); }, 0); });
      });
    };
    Promise.all([fetched.program, fetched.data]).then(nextFrame).then(function(fetched) {
      settings.instantiateWasm = function(imports, receive) {
        WebAssembly.instantiate(fetched[0], imports).then(function(instance) { receive(instance, fetched[0]); },
                                                          failed);
        return {};
      };
      // Each game gets its own copy: its file system may keep what it is given.
      var bytes = fetched[1].slice(0);
      settings.getPreloadedPackage = function() { return bytes; };
      return window.createWolby(settings);
    }).then(function(instance) {
      if (!running) return;
      game = instance;
      if (restartWanted) {
        restartWanted = false;
        restart();
      }
    }, failed);
  }

  // A new game: a fresh instance once the running one has gone (or, while one
  // is still starting, once it has started).
  function restart() {
    if (!running) {
      start();
      return;
    }
    if (!game) {
      restartWanted = true;
      return;
    }
    window.addEventListener('wolby-ended', function() { start(); }, {once: true});
    game._wolby_web_close_window();
  }

  window.addEventListener('resize', layout);
  document.getElementById('again').addEventListener('click', start);
  document.getElementById('tools-toggle').addEventListener('click', function() {
    showTools(document.getElementById('tools').hidden);
  });
  document.getElementById('download').addEventListener('click', offerDownload);
  document.body.addEventListener('keydown', function(event) {
    if (!hasKeys()) return;
    if (event.key !== 'Escape') return;
    showTools(false);
    document.getElementById('tools-toggle').focus();
  });
  document.getElementById('pick').addEventListener('click', function() {
    document.getElementById('picked').click();
  });
  document.getElementById('picked').addEventListener('change', takePicked);
  // The page's own controls keep their touches and clicks from the game.
  ['tools', 'tools-toggle', 'dialog', 'ended'].forEach(function(id) {
    var element = document.getElementById(id);
    ['mousedown', 'mousemove', 'touchstart'].forEach(function(type) {
      element.addEventListener(type, function(event) { event.stopPropagation(); });
    });
  });
  layout();

  return {
    start: start,
    failed: failed,
    hasKeys: hasKeys,
    putPixels: putPixels,
    picturePoint: picturePoint,
    setCursor: setCursor,
    messageBox: messageBox,
    ended: ended,
    waiting: waiting,
    paused: paused,
    status: function() { return status; },
    keptSettings: keptBytes,
    startRecord: startRecord,
    takeRecord: takeRecord,
  };
})();
