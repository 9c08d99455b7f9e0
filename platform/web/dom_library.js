// The window layer's DOM side (dom.h): elements made, placed and filled for
// the C++ windows, and the page's events queued for the program's loop,
// which takes them with lv_next_event. No event runs program code itself:
// the loop asleep in lv_wait is woken instead.
mergeInto(LibraryManager.library, {
  $LV: {
    el: [null],     // element by number
    box: [null],    // where an element's children go
    events: [],
    wake: null,
    text: function(ptr) {
      var s = '';
      for (var c; ptr && (c = HEAPU32[ptr >> 2]) !== 0; ptr += 4) s += String.fromCodePoint(c);
      return s;
    },
    push: function(event) {
      LV.events.push(event);
      if (LV.wake) LV.wake();
    },
    handleOf: function(node) {
      for (; node; node = node.parentElement) if (node.lvHandle) return node.lvHandle;
      return 0;
    },
    add: function(node, box) {
      LV.el.push(node);
      LV.box.push(box || node);
      return LV.el.length - 1;
    },
    tag: {0: 'div', 1: 'div', 2: 'dialog', 3: 'button', 4: 'button', 5: 'input', 6: 'fieldset',
          7: 'div', 8: 'div', 9: 'canvas', 10: 'div', 11: 'input', 12: 'div'},
    // The keys the program handles itself, which the browser must not.
    ownKey: function(e) {
      var c = e.keyCode;
      return c === 9 || c === 13 || c === 27 || c === 121 || (e.altKey && c >= 65 && c <= 90) ||
             (c >= 37 && c <= 40 && e.target.classList.contains('tabs'));
    },
    onKey: function(e) {
      if (e.target.closest && e.target.closest('.popup')) return;  // a menu keeps its keys
      var mods = (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0);
      if (e.type === 'keyup') { LV.push([3, 0, 0, mods, 0]); return; }
      if (LV.ownKey(e)) e.preventDefault();
      LV.push([2, LV.handleOf(document.activeElement), e.keyCode, mods, e.repeat ? 1 : 0]);
    },
    start: function() {
      document.addEventListener('keydown', LV.onKey, true);
      document.addEventListener('keyup', LV.onKey, true);
      document.addEventListener('focusin', function(e) { LV.push([6, LV.handleOf(e.target), 0, 0, 0]); });
    },
    // A frame's menu bar or a dialog's caption above its client area.
    frameParts: function(node, kind) {
      var bar = document.createElement('div');
      bar.className = kind === 1 ? 'menubar' : 'caption';
      var client = document.createElement('div');
      client.className = 'client';
      node.append(bar, client);
      return client;
    },
  },
  lv_make__deps: ['$LV'],
  lv_make: function(kind, parent, handle) {
    if (LV.el.length === 1) LV.start();
    var node = document.createElement(LV.tag[kind]);
    node.className = 'k' + kind;
    node.lvHandle = handle;
    var box = node;
    if (kind === 1 || kind === 2) box = LV.frameParts(node, kind);
    if (kind === 2) node.addEventListener('cancel', function(e) { e.preventDefault(); });
    if (kind === 3 || kind === 4) {
      node.type = 'button';
      node.addEventListener('click', function() { LV.push([1, handle, 0, 0, 0]); });
    }
    if (kind === 5 || kind === 11) { node.readOnly = true; node.tabIndex = -1; }
    if (kind === 6) node.append(document.createElement('legend'));
    if (kind === 10) { node.className += ' tabs'; node.setAttribute('role', 'tablist'); }
    (parent ? LV.box[parent] : document.body).append(node);
    return LV.add(node, box);
  },
  lv_place: function(n, x, y, w, h, edge) {
    var s = LV.el[n].style;
    s.left = x + 'px'; s.top = y + 'px'; s.width = w + 'px'; s.height = h + 'px';
    if (edge) s.borderWidth = edge + 'px';
  },
  lv_set_text: function(n, ptr) {
    var node = LV.el[n], text = LV.text(ptr);
    if (node.tagName === 'INPUT') node.value = text;
    else if (node.tagName === 'FIELDSET') node.firstChild.textContent = text;
    else if (node.className === 'k2') node.firstChild.textContent = text;
    else if (node.className !== 'k0' && node.className !== 'k1') node.textContent = text;
  },
  lv_show: function(n, shown) { LV.el[n].hidden = !shown; },
  lv_enable: function(n, on) { LV.el[n].disabled = !on; },
  lv_remove: function(n) {
    if (LV.el[n]) LV.el[n].remove();
    LV.el[n] = LV.box[n] = null;
  },
  lv_adopt: function(parent, n) { LV.box[parent].append(LV.el[n]); },
  lv_focus: function(n) { LV.el[n].focus({preventScroll: true}); },
  lv_focused: function() { return LV.handleOf(document.activeElement); },
  // The pixels go to an OffscreenCanvas that the canvas hands its control
  // to, where the browser has them: its frames then reach the compositor by
  // themselves, where a canvas of the page's own makes the browser draw a
  // frame of the whole page each tick (a fifth of its CPU here). c.surface
  // is what is drawn on: the OffscreenCanvas, or else the canvas itself.
  lv_canvas_size: function(n, w, h, cssW, cssH) {
    var c = LV.el[n];
    if (!c.surface) {
      c.surface = typeof OffscreenCanvasRenderingContext2D === 'function' && c.transferControlToOffscreen
        ? c.transferControlToOffscreen() : c;
    }
    var s = c.surface;
    if (s.width !== w || s.height !== h) { s.width = w; s.height = h; }  // either clears it
    c.style.width = cssW + 'px'; c.style.height = cssH + 'px';
    c.ctx = s.getContext('2d', {alpha: false});
  },
  // One image over a bitmap's pixels on the heap, made again when they move
  // or the heap grows; each put takes only the box.
  lv_put: function(n, ptr, width, height, atX, atY, x, y, w, h) {
    var c = LV.el[n], img = c.image;
    if (!img || c.imageAt !== ptr || img.data.buffer !== HEAPU8.buffer || img.width !== width ||
        img.height !== height) {
      img = c.image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, ptr, width * height * 4), width, height);
      c.imageAt = ptr;
    }
    c.ctx.putImageData(img, atX, atY, x, y, w, h);
    Module.puts = (Module.puts || 0) + 1;
    Module.putPixels = (Module.putPixels || 0) + w * h;
    if (!Module.firstPut) Module.firstPut = performance.now();
  },
  lv_text_width: function(px, ptr) {
    var ctx = (LV.measure = LV.measure || document.createElement('canvas').getContext('2d'));
    ctx.font = px + 'px "Lunvik UI"';
    return Math.round(ctx.measureText(UTF8ToString(ptr)).width);
  },
  lv_font_height: function(px) {
    var ctx = (LV.measure = LV.measure || document.createElement('canvas').getContext('2d'));
    ctx.font = px + 'px "Lunvik UI"';
    var m = ctx.measureText('Ag');
    return Math.round(m.fontBoundingBoxAscent) + Math.round(m.fontBoundingBoxDescent);
  },
  lv_modal: function(n, open) {
    var d = LV.el[n];
    if (open) d.showModal(); else if (d.open) d.close();
  },
  lv_add_tab: function(n, ptr) {
    var strip = LV.el[n], tab = document.createElement('span'), index = strip.children.length;
    tab.textContent = LV.text(ptr);
    tab.setAttribute('role', 'tab');
    tab.addEventListener('mousedown', function(e) {
      e.preventDefault();
      strip.focus();
      LV.push([4, strip.lvHandle, index, 0, 0]);
    });
    strip.append(tab);
    strip.tabIndex = -1;
  },
  lv_select_tab: function(n, index) {
    var tabs = LV.el[n].children;
    for (var i = 0; i < tabs.length; ++i) tabs[i].classList.toggle('sel', i === index);
  },
  lv_add_menu: function(n, ptr) {
    var bar = LV.el[n].firstChild, title = document.createElement('span');
    var popup = document.createElement('div');
    title.className = 'menu'; popup.className = 'popup'; popup.hidden = true;
    title.textContent = LV.text(ptr).replace('&', '');
    title.addEventListener('mousedown', function(e) { e.preventDefault(); popup.hidden = !popup.hidden; });
    popup.addEventListener('keydown', function(e) {
      if (e.keyCode === 13) e.target.click();
      if (e.keyCode === 13 || e.keyCode === 27) { e.preventDefault(); popup.hidden = true; }
    });
    title.append(popup);
    bar.append(title);
    return LV.add(popup);
  },
  lv_add_menu_item: function(n, ptr, command, frame) {
    var item = document.createElement('div');
    item.textContent = LV.text(ptr).replace('&', '');
    item.tabIndex = -1;
    item.addEventListener('click', function(e) {
      e.stopPropagation();
      LV.el[n].hidden = true;
      LV.push([5, frame, command, 0, 0]);
    });
    LV.el[n].append(item);
  },
  lv_open_menu: function(n, index) {
    var popup = LV.el[n].firstChild.children[index].lastChild;
    popup.hidden = false;
    popup.firstChild.focus();
  },
  // For the window layer's tests: a click where the middle of the element
  // shows, a key pressed on the focus, whether a font draws every character.
  lv_test_click: function(n, atCentre) {
    var r = LV.el[n].getBoundingClientRect();
    var at = atCentre ? document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2) : LV.el[n];
    if (at) at.click();
  },
  lv_test_key: function(vk, shift) {
    var target = document.activeElement || document.body;
    LV.onKey({type: 'keydown', keyCode: vk, shiftKey: !!shift, ctrlKey: false, altKey: false,
              repeat: false, target: target, preventDefault: function() {}});
    LV.onKey({type: 'keyup', keyCode: vk, shiftKey: false, ctrlKey: false, altKey: false,
              target: target, preventDefault: function() {}});
  },
  // The test page reads the font's character map (window.lvHasGlyphs).
  lv_test_glyphs: function(n, ptr) {
    var family = getComputedStyle(LV.el[n]).fontFamily.split(',')[0].replace(/"/g, '').trim();
    return window.lvHasGlyphs && lvHasGlyphs(family, LV.text(ptr)) ? 1 : 0;
  },
  lv_test_read: function(n, out, w, h) {
    HEAPU8.set(LV.el[n].ctx.getImageData(0, 0, w, h).data, out);
  },
  lv_test_put_pixels: function() { return Module.putPixels || 0; },
  lv_test_exit: function(code) { window.exitCode = code; },
  lv_set_title: function(ptr) { document.title = LV.text(ptr); },
  // The page shows why the program could not start, as the desktop's error box does.
  lv_fail: function(ptr) { document.body.textContent = UTF8ToString(ptr); },
  lv_scale: function() { return window.devicePixelRatio || 1; },
  lv_wait: function(ms) {
    Asyncify.handleSleep(function(wakeUp) {
      var timer = setTimeout(function() { LV.wake = null; wakeUp(); }, ms);
      LV.wake = function() { LV.wake = null; clearTimeout(timer); wakeUp(); };
    });
  },
  lv_ticked: function() { LV.ticks = (LV.ticks || 0) + 1; Module.ticks = LV.ticks; },
  lv_next_event: function(out) {
    var e = LV.events.shift();
    if (!e) return 0;
    for (var i = 0; i < 5; ++i) HEAP32[(out >> 2) + i] = e[i];
    return 1;
  },
});
