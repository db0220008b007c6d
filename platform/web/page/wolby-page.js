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
    if (status.firstPicture === null) status.firstPicture = now;
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

  // IDBFS (emscripten 3.1.6) reports a write the storage refuses later, as
  // IndexedDB does when it is full, as no error at all and then never ends the
  // flush: the game would hang in its save. These report the request's error,
  // so the save fails with the game's message instead.
  function reportStorageErrors(IDBFS) {
    // One request on the store, its error handed to the callback.
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
        if (saveError) console.warn('wolby: the chosen settings cannot be kept:', saveError);
        module.removeRunDependency('kept-settings');
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
  // as it reads any settings file.
  function takePicked() {
    var input = document.getElementById('picked');
    var file = input.files && input.files[0];
    if (!file) return;
    file.arrayBuffer().then(function(buffer) {
      input.value = '';
      pickedSettings = new Uint8Array(buffer);
      showTools(false);
      restart();
    });
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

  // ------------------------------------------------------------ running the game
  function ended(status) {
    running = false;
    document.getElementById('ended').hidden = false;
    document.getElementById('again').focus();
    window.dispatchEvent(new CustomEvent('wolby-ended', {detail: status}));
  }

  function start() {
    if (running) return;
    running = true;
    status.firstPicture = null;
    document.getElementById('ended').hidden = true;
    context.fillStyle = '#000';
    context.fillRect(0, 0, 800, 600);
    var settings = {
      wolbyPage: wolbyPage,
      preRun: [prepareStorage],
      print: function(text) { console.log(text); },
      printErr: function(text) { console.warn(text); },
    };
    Promise.all([fetched.program, fetched.data]).then(function(fetched) {
      settings.instantiateWasm = function(imports, receive) {
        WebAssembly.instantiate(fetched[0], imports).then(function(instance) { receive(instance, fetched[0]); });
        return {};
      };
      // Each game gets its own copy: its file system may keep what it is given.
      var bytes = fetched[1].slice(0);
      settings.getPreloadedPackage = function() { return bytes; };
    }, function(error) {
      console.warn('wolby: fetching the game beforehand failed (' + error + '); it is fetched as it starts');
    }).then(function() {
      return window.createWolby(settings);
    }).then(function(instance) { game = instance; });
  }

  // A new game: a fresh instance once the running one has gone.
  function restart() {
    if (!running || !game) {
      start();
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
