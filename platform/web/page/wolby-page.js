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
    // Its corner on a device pixel, so the screen's pixels meet the picture's.
    var ratio = window.devicePixelRatio || 1;
    var snap = function(v) { return Math.round(v * ratio) / ratio; };
    picture = {left: snap(Math.floor((width - w) / 2)), top: snap(Math.floor((height - h) / 2)), width: w, height: h};
    [canvas, shown].forEach(function(element) {
      element.style.left = picture.left + 'px';
      element.style.top = picture.top + 'px';
      element.style.width = w + 'px';
      element.style.height = h + 'px';
    });
    if (!measuresDevicePixels) fitScreen(Math.round(w * ratio), Math.round(h * ratio));
    placeTurnHint();
    makeCursor();
  }

  // ------------------------------------------------------------ the picture on the screen
  // #screen has one pixel per device pixel. A whole-number scale is drawn
  // nearest-neighbour; any other is drawn nearest-neighbour to the whole
  // multiple above it, then reduced smoothly to the device's pixels: every
  // picture pixel becomes a run of equal device pixels, with at most one
  // blended pixel at its edge, instead of runs of one or two at random.
  var shown = document.getElementById('screen');
  var shownPen = shown.getContext('2d', {alpha: false});
  var enlarged = null;           // the picture at the whole multiple, when needed
  var enlargedPen = null;
  var unshown = null;            // the picture's rectangle changed since the last showing
  var showingWanted = false;
  var measuresDevicePixels = false;

  function fitScreen(width, height) {
    width = Math.max(width, 1);
    height = Math.max(height, 1);
    if (shown.width === width && shown.height === height) return;
    shown.width = width;
    shown.height = height;
    changed(0, 0, 800, 600);
  }

  // The exact device pixels of the laid-out #screen, where the browser tells them.
  if (window.ResizeObserver) {
    try {
      new ResizeObserver(function(entries) {
        var box = entries[entries.length - 1].devicePixelContentBoxSize;
        var ratio = window.devicePixelRatio || 1;
        // Only a size near the laid-out one times the ratio (an emulated
        // ratio may report the box in CSS pixels).
        if (!box || !box[0] || Math.abs(box[0].inlineSize - picture.width * ratio) > 1 ||
            Math.abs(box[0].blockSize - picture.height * ratio) > 1) {
          measuresDevicePixels = false;
          fitScreen(Math.round(picture.width * ratio), Math.round(picture.height * ratio));
          return;
        }
        measuresDevicePixels = true;
        fitScreen(box[0].inlineSize, box[0].blockSize);
      }).observe(shown, {box: 'device-pixel-content-box'});
    } catch (e) {
      // Browsers without that box: the laid-out size times the pixel ratio.
    }
  }

  function changed(x, y, width, height) {
    if (!unshown) {
      unshown = {left: x, top: y, right: x + width, bottom: y + height};
    } else {
      unshown.left = Math.min(unshown.left, x);
      unshown.top = Math.min(unshown.top, y);
      unshown.right = Math.max(unshown.right, x + width);
      unshown.bottom = Math.max(unshown.bottom, y + height);
    }
    if (showingWanted) return;
    showingWanted = true;
    requestAnimationFrame(show);
  }

  function show() {
    showingWanted = false;
    var area = unshown;
    unshown = null;
    if (!area) return;
    var scaleX = shown.width / 800;
    var scaleY = shown.height / 600;
    var multiple = Math.max(1, Math.ceil(Math.max(scaleX, scaleY) - 1e-9));
    var w = area.right - area.left;
    var h = area.bottom - area.top;
    if (scaleX === multiple && scaleY === multiple) {
      shownPen.imageSmoothingEnabled = false;
      shownPen.drawImage(canvas, area.left, area.top, w, h,
                          area.left * multiple, area.top * multiple, w * multiple, h * multiple);
      return;
    }
    if (!enlarged || enlarged.width !== 800 * multiple) {
      enlarged = document.createElement('canvas');
      enlarged.width = 800 * multiple;
      enlarged.height = 600 * multiple;
      enlargedPen = enlarged.getContext('2d', {alpha: false});
      area = {left: 0, top: 0, right: 800, bottom: 600};
      w = 800;
      h = 600;
    }
    enlargedPen.imageSmoothingEnabled = false;
    enlargedPen.drawImage(canvas, area.left, area.top, w, h,
                          area.left * multiple, area.top * multiple, w * multiple, h * multiple);
    // The whole enlarged picture is reduced, clipped to what changed (and the
    // pixel around it, which the smoothing reaches): the pixels come out as a
    // whole showing would draw them.
    var left = Math.max(0, Math.floor((area.left - 1) * scaleX));
    var top = Math.max(0, Math.floor((area.top - 1) * scaleY));
    var right = Math.min(shown.width, Math.ceil((area.right + 1) * scaleX));
    var bottom = Math.min(shown.height, Math.ceil((area.bottom + 1) * scaleY));
    shownPen.save();
    shownPen.beginPath();
    shownPen.rect(left, top, right - left, bottom - top);
    shownPen.clip();
    shownPen.imageSmoothingEnabled = true;
    shownPen.imageSmoothingQuality = 'low';  // bilinear: the reduction is less than half
    shownPen.drawImage(enlarged, 0, 0, shown.width, shown.height);
    shownPen.restore();
  }

  // ------------------------------------------------------------ a phone held upright
  // The 4:3 picture is small across an upright phone: a quiet line under it
  // invites the player to turn the phone, where it does not reach the picture.
  var turnHint = document.getElementById('turn-hint');
  var coarsePointer = window.matchMedia ? window.matchMedia('(pointer: coarse)') : null;

  function placeTurnHint() {
    var below = picture.top + picture.height;
    var room = window.innerHeight - below;
    var upright = window.innerHeight > window.innerWidth && !!coarsePointer && coarsePointer.matches;
    if (!upright || room < 64) {
      turnHint.hidden = true;
      return;
    }
    turnHint.style.top = (below + Math.min(24, (room - 48) / 2)) + 'px';
    turnHint.hidden = false;
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
    changed(x, y, image.width, image.height);
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
        if (!live) return;  // another tab has the game: the veil over the box takes the keys
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
  // The fields end with the players' count, the record's 9th byte; a file that
  // stops before it would start the game on defaults and lose the kept file.
  var kFieldsBytes = 9;

  // The record's bytes in the file as the game reads them: a stored CR LF is
  // one LF, and 0x1A ends the data.
  function recordLength(bytes) {
    var length = 0;
    for (var i = 0; i < bytes.length; ++i) {
      if (bytes[i] === 0x1A) break;
      if (bytes[i] === 0x0D && bytes[i + 1] === 0x0A) ++i;
      ++length;
    }
    return length;
  }

  function toolsMessage(text) {
    document.getElementById('tools-message').textContent = text;
  }

  function takePicked() {
    var input = document.getElementById('picked');
    var file = input.files && input.files[0];
    if (!file) return;
    toolsMessage('');
    file.slice(0, kPickedMost).arrayBuffer().then(function(buffer) {
      var bytes = new Uint8Array(buffer);
      if (recordLength(bytes) < kFieldsBytes) {
        toolsMessage('Plik „' + file.name + '” nie zawiera ustawień gry (' +
                     (bytes.length === 0 ? 'jest pusty' : 'jest za krótki') +
                     '). Gra zostaje przy swoich ustawieniach.');
        return;
      }
      pickedSettings = bytes;
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
    if (!live) return true;
    var focused = document.activeElement;
    return !document.getElementById('tools').hidden &&
           !!(focused && focused.closest && focused.closest('#tools, #tools-toggle'));
  }

  function showTools(open) {
    if (!open) toolsMessage('');
    document.getElementById('tools').hidden = !open;
    document.getElementById('tools-toggle').setAttribute('aria-expanded', open ? 'true' : 'false');
  }

  // ------------------------------------------------------------ the state, for a screen reader
  // The lines the game writes that tell a match's state (whose move, the
  // clock, the scores, the result) are kept in #spoken, which a screen reader
  // speaks as they change; one element a line, so that only a changed line is
  // spoken. Any other line is another screen's: the match's lines go.
  var spokenScorer = null;      // the score line that comes next is this player's
  var spokenResult = [];        // the result's lines, until its last one
  var spokenParts = ['mover', 'clock', 'score1', 'score2', 'result'];

  function spoken(part) { return document.getElementById('spoken-' + part); }

  function clearSpoken() {
    spokenScorer = null;
    spokenResult = [];
    spokenParts.forEach(function(part) { spoken(part).textContent = ''; });
  }

  function say(part, text) {
    var element = spoken(part);
    if (element.textContent === text) return;
    // A match's line that changes after its result belongs to the next match.
    if (part !== 'result' && spoken('result').textContent !== '') spoken('result').textContent = '';
    element.textContent = text;
  }

  function line(text) {
    text = text.trim();
    if (text === '') return;
    var player = /^Gracz ([12])$/.exec(text);
    if (player) {
      spokenScorer = player[1];
      return;
    }
    if (/^Ruch gracza [12]$/.test(text)) {
      say('mover', text + '.');
    } else if (/^Pozosta\u0142o \d+ sek\.$/.test(text)) {
      say('clock', text);
    } else if (/^Zebranych: \d+$/.test(text)) {
      if (spokenScorer) say('score' + spokenScorer, 'Gracz ' + spokenScorer + ' \u2013 ' + text + '.');
      spokenScorer = null;
    } else if (/^GRATULACJE|^WYGRANA GRACZA|REMISEM$/.test(text)) {
      spokenResult.push(text);
    } else if (/^ESC - /.test(text) && spokenResult.length > 0) {
      spokenResult.push(text + '.');
      say('result', spokenResult.join(' '));
      spokenResult = [];
    } else {
      clearSpoken();
    }
  }

  // ------------------------------------------------------------ one live game per browser
  // The game saves its settings in the browser's storage, which every tab of
  // the site shares: the tab opened (or chosen) last has the game, and the
  // others say so and take no input, so no tab saves over another's unseen.
  var live = true;
  var channel = null;
  var tabId = Math.random().toString(36).slice(2) + Date.now().toString(36);

  function openChannel() {
    if (!window.BroadcastChannel || channel) return;
    channel = new BroadcastChannel('wolby-live-game');
    channel.onmessage = function(event) {
      if (event.data && event.data.live && event.data.live !== tabId) setLive(false);
    };
  }

  function claim() {
    openChannel();
    if (channel) channel.postMessage({live: tabId});
  }

  function setLive(isLive) {
    if (live === isLive) return;
    live = isLive;
    document.getElementById('elsewhere').hidden = live;
    if (!live) {
      showTools(false);
      document.getElementById('play-here').focus();
      return;
    }
    // The other tab may have saved other settings: a game that kept older
    // ones starts again with the stored file, as a new tab would.
    var before = keptBytes();
    if (!game || !running) return;
    game.FS.syncfs(true, function(error) {
      if (error) return;
      var after = keptBytes();
      if (before && !after) {
        // No tab has saved yet, so storage holds no file and the reading took
        // this game's first-visit copy away: it goes back, the game plays on.
        try {
          game.FS.writeFile(kept, before);
        } catch (e) {
          console.warn('wolby: the settings file cannot be put back:', e);
        }
        return;
      }
      var same = before && after && before.length === after.length &&
                 before.every(function(b, i) { return b === after[i]; });
      if (!same) restart();
    });
  }

  function playHere() {
    claim();
    setLive(true);
  }

  // A page kept by the back/forward cache closes its channel (a page with one
  // open is not kept) and takes the game back when it is shown again.
  window.addEventListener('pagehide', function(event) {
    if (!event.persisted || !channel) return;
    channel.close();
    channel = null;
  });
  window.addEventListener('pageshow', function(event) {
    if (!event.persisted) return;
    status.restored += 1;
    playHere();
  });

  // ------------------------------------------------------------ what the checks read
  // Whether the game waits for input now (and how often it has begun to),
  // the kept settings file, and, once asked for, a record of the pictures
  // put, the pauses and the page's input, with their times.
  var status = {waiting: false, waits: 0, waitBegan: 0, firstPicture: null, restored: 0};
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
    clearSpoken();
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
    changed(0, 0, 800, 600);
    clearSpoken();
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
  if (coarsePointer && coarsePointer.addEventListener) coarsePointer.addEventListener('change', placeTurnHint);
  document.getElementById('play-here').addEventListener('click', playHere);
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
  ['tools', 'tools-toggle', 'dialog', 'ended', 'elsewhere'].forEach(function(id) {
    var element = document.getElementById(id);
    ['mousedown', 'mousemove', 'touchstart'].forEach(function(type) {
      element.addEventListener(type, function(event) { event.stopPropagation(); }, {passive: true});
    });
  });
  layout();
  claim();

  return {
    line: line,
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
