// The Fendo page: shows the drawing, and turns typing, clicks, window drags and dialog forms
// into the answer lines the session reads, exactly as they would be typed at its terminal.
"use strict";

(function () {
  const svg = document.getElementById("drawing");
  const objects = document.getElementById("objects");
  const overlay = document.getElementById("overlay");
  const history = document.getElementById("history");
  const promptLabel = document.getElementById("prompt");
  const command = document.getElementById("command");
  const modal = document.getElementById("modal");
  const panels = document.getElementById("panels");
  const snapStatus = document.getElementById("snap-status");
  const connection = document.getElementById("connection");
  const SVGNS = "http://www.w3.org/2000/svg";

  // This tab's id, kept over reloads of the tab so that a reload keeps driving the session.
  let tab = sessionStorage.getItem("fendo-tab");
  if (!tab) {
    tab = Math.random().toString(36).slice(2) + Date.now().toString(36);
    sessionStorage.setItem("fendo-tab", tab);
  }
  // The token stays in the cookie; the address bar no longer shows it.
  if (location.search) history_replace();
  function history_replace() { window.history.replaceState(null, "", "/"); }

  let view = null;        // {scale, left, top, width, height}: device units of the picture
  let box = null;         // the viewBox shown: {x, y, w, h}
  let request = { kind: "text", prompt: "", selected: [], modeless: [] };
  let transcript = "";
  let ended = false;
  const typed = [];       // the command line's history
  let typedAt = 0;

  // ---- answers ------------------------------------------------------------------------
  // The height the page shows, in drawing units (the view box may be wider than the window's shape).
  function viewSize() {
    if (!view || !box) return 0;
    return (svg.clientHeight * pixelSize()) / view.scale;
  }
  let waiting = false;    // the session is waiting for an answer (not busy with a command)
  function send(text) {
    if (ended) return Promise.resolve();
    waiting = false;
    const body = new URLSearchParams({ tab: tab, text: text, viewsize: String(viewSize()) });
    return fetch("/answer", { method: "POST", body: body, credentials: "same-origin" }).then((r) => {
      if (r.status === 409) showBusy();
    });
  }
  function pointText(p) {
    const f = (v) => String(Math.round(v * 1e6) / 1e6);
    return p.z ? f(p.x) + "," + f(p.y) + "," + f(p.z) : f(p.x) + "," + f(p.y);
  }

  // ---- the picture --------------------------------------------------------------------
  function setBox(b) {
    box = b;
    svg.setAttribute("viewBox", b.x + " " + b.y + " " + b.w + " " + b.h);
  }
  function zoomExtents() {
    let b = null;
    try { b = objects.getBBox(); } catch (e) { b = null; }
    if (!b || b.width === 0 || b.height === 0) {
      if (view) setBox({ x: 0, y: 0, w: view.width, h: view.height });
      return;
    }
    const m = 0.05 * Math.max(b.width, b.height);
    setBox({ x: b.x - m, y: b.y - m, w: b.width + 2 * m, h: b.height + 2 * m });
  }
  function putGroup(handle, markup) {
    const holder = document.createElementNS(SVGNS, "g");
    holder.innerHTML = markup;
    const fresh = holder.firstElementChild;
    const old = objects.querySelector('g[data-handle="' + handle + '"]');
    if (old) old.replaceWith(fresh); else objects.appendChild(fresh);
  }
  function onPicture(p) {
    if (p.full) {
      const first = !view;
      view = p.view;
      // The picture's units, for anyone who needs drawing coordinates of the page (tests).
      svg.dataset.scale = view.scale;
      svg.dataset.left = view.left;
      svg.dataset.top = view.top;
      objects.innerHTML = p.svg;
      if (first) zoomExtents();
    } else {
      for (const h of p.remove) {
        const g = objects.querySelector('g[data-handle="' + h + '"]');
        if (g) g.remove();
      }
      for (const [h, markup] of p.put) putGroup(h, markup);
    }
    highlight();
  }
  function highlight() {
    const chosen = new Set(request.kind === "selection" ? request.selected : []);
    for (const g of objects.querySelectorAll("g.selected")) if (!chosen.has(g.dataset.handle)) g.classList.remove("selected");
    for (const h of chosen) {
      const g = objects.querySelector('g[data-handle="' + h + '"]');
      if (g) g.classList.add("selected");
    }
  }
  // Page position -> picture units -> drawing units.
  function devicePoint(ev) {
    const p = svg.createSVGPoint();
    p.x = ev.clientX;
    p.y = ev.clientY;
    return p.matrixTransform(svg.getScreenCTM().inverse());
  }
  function toWorld(d) { return { x: d.x / view.scale + view.left, y: view.top - d.y / view.scale }; }
  function toDevice(w) { return { x: (w.x - view.left) * view.scale, y: (view.top - w.y) * view.scale }; }
  // Picture units per screen pixel.
  function pixelSize() {
    const m = svg.getScreenCTM();
    return m && m.a ? 1 / m.a : box.w / svg.clientWidth;
  }

  // ---- snaps --------------------------------------------------------------------------
  let snap = null;
  let snapAsked = 0;
  function clearSnap() {
    snap = null;
    for (const m of overlay.querySelectorAll(".snap")) m.remove();
    snapStatus.textContent = "";
  }
  function showSnap(s) {
    clearSnap();
    if (!s || s.x === undefined) return;
    snap = s;
    const d = toDevice(s);
    const r = 6 * pixelSize();
    let shape;
    if (s.kind === "center") {
      shape = document.createElementNS(SVGNS, "circle");
      shape.setAttribute("cx", d.x); shape.setAttribute("cy", d.y); shape.setAttribute("r", r);
    } else if (s.kind === "midpoint") {
      shape = document.createElementNS(SVGNS, "polygon");
      shape.setAttribute("points", [d.x, d.y - r, d.x + r, d.y + r, d.x - r, d.y + r].join(" "));
    } else if (s.kind === "nearest") {
      shape = document.createElementNS(SVGNS, "path");
      shape.setAttribute("d", `M${d.x - r} ${d.y - r}L${d.x + r} ${d.y + r}M${d.x + r} ${d.y - r}L${d.x - r} ${d.y + r}`);
    } else {
      shape = document.createElementNS(SVGNS, "rect");
      shape.setAttribute("x", d.x - r); shape.setAttribute("y", d.y - r);
      shape.setAttribute("width", 2 * r); shape.setAttribute("height", 2 * r);
    }
    shape.setAttribute("class", "snap");
    shape.dataset.kind = s.kind;
    overlay.appendChild(shape);
    snapStatus.textContent = "Snap: " + s.kind + " " + pointText(s);
  }
  function askSnap(world) {
    const asked = ++snapAsked;
    const r = 10 * pixelSize() / view.scale;
    const q = new URLSearchParams({ x: world.x, y: world.y, r: r });
    return fetch("/snap?" + q, { credentials: "same-origin" })
      .then((res) => res.json())
      .then((s) => { if (asked === snapAsked) showSnap(s); return s; })
      .catch(() => ({}));
  }

  // ---- mouse --------------------------------------------------------------------------
  let down = null;     // {button, client, device, band, panning}
  let lastMove = 0;
  svg.addEventListener("mousedown", (ev) => {
    if (!view) return;
    ev.preventDefault();
    down = { button: ev.button, cx: ev.clientX, cy: ev.clientY, device: devicePoint(ev), band: null, panning: false, box: Object.assign({}, box) };
  });
  window.addEventListener("mousemove", (ev) => {
    if (!view) return;
    if (down) {
      const moved = Math.hypot(ev.clientX - down.cx, ev.clientY - down.cy) > 4;
      if (!moved && !down.band && !down.panning) return;
      if (down.button === 0 && request.kind === "selection" && !down.panning) {
        drawBand(devicePoint(ev));
      } else {
        down.panning = true;
        const k = pixelSize();
        setBox({ x: down.box.x - (ev.clientX - down.cx) * k, y: down.box.y - (ev.clientY - down.cy) * k, w: box.w, h: box.h });
      }
      return;
    }
    if (request.kind === "point" && ev.target.closest && ev.target.closest("#drawing")) {
      const now = Date.now();
      if (now - lastMove < 80) return;
      lastMove = now;
      askSnap(toWorld(devicePoint(ev)));
    }
  });
  function drawBand(to) {
    if (!down.band) {
      down.band = document.createElementNS(SVGNS, "rect");
      overlay.appendChild(down.band);
    }
    const from = down.device;
    const crossing = to.x < from.x;
    down.band.setAttribute("class", crossing ? "band crossing" : "band");
    down.band.setAttribute("x", Math.min(from.x, to.x));
    down.band.setAttribute("y", Math.min(from.y, to.y));
    down.band.setAttribute("width", Math.abs(to.x - from.x));
    down.band.setAttribute("height", Math.abs(to.y - from.y));
    down.to = to;
  }
  window.addEventListener("mouseup", (ev) => {
    if (!down) return;
    const d = down;
    down = null;
    if (d.band) {
      d.band.remove();
      const a = toWorld(d.device), b = toWorld(d.to);
      // Left to right: a window, whole objects inside; right to left: a crossing.
      send((d.to.x < d.device.x ? "c " : "w ") + pointText(a) + " " + pointText(b));
      return;
    }
    if (d.panning || d.button !== 0) return;
    const world = toWorld(devicePoint(ev));
    if (request.kind === "point") {
      askSnap(world).then((s) => send(pointText(s && s.x !== undefined ? s : world)));
    } else if (request.kind === "selection" || request.kind === "entity") {
      send(pointText(world));
    }
  });
  svg.addEventListener("wheel", (ev) => {
    if (!view) return;
    ev.preventDefault();
    const at = devicePoint(ev);
    const f = ev.deltaY < 0 ? 1 / 1.2 : 1.2;
    setBox({ x: at.x - (at.x - box.x) * f, y: at.y - (at.y - box.y) * f, w: box.w * f, h: box.h * f });
    if (snap) showSnap(snap);
  }, { passive: false });
  document.getElementById("zoom-extents").addEventListener("click", zoomExtents);

  // ---- the command line ---------------------------------------------------------------
  command.addEventListener("keydown", (ev) => {
    if (ev.key === "Enter") {
      ev.preventDefault();
      const text = command.value;
      if (text.trim() && typed[typed.length - 1] !== text) typed.push(text);
      typedAt = typed.length;
      command.value = "";
      send(text);
    } else if (ev.key === "ArrowUp") {
      ev.preventDefault();
      if (typedAt > 0) command.value = typed[--typedAt];
    } else if (ev.key === "ArrowDown") {
      ev.preventDefault();
      if (typedAt < typed.length - 1) command.value = typed[++typedAt];
      else { typedAt = typed.length; command.value = ""; }
    }
  });
  // Escape cancels the question, wherever the focus is.
  document.addEventListener("keydown", (ev) => {
    if (ev.key === "Escape") {
      ev.preventDefault();
      if (down && down.band) down.band.remove();
      down = null;
      // While a command works there is no question to cancel; a queued ^C would cancel the next one.
      if (waiting) send("^C");
    }
  });

  // ---- the history --------------------------------------------------------------------
  // Some decoded Vietnamese letters come as a base letter and combining marks; composed, they
  // show right in every font (the history's fixed-width one too).
  const composed = (t) => (t && t.normalize ? t.normalize("NFC") : t);

  function onLog(data) {
    if (typeof data === "object") {
      transcript = composed(data.text);
    } else {
      transcript += composed(data);
    }
    if (transcript.length > 300000) transcript = transcript.slice(-250000);
    // The question's own line is shown beside the command box, not twice.
    const cut = transcript.lastIndexOf("\n");
    history.textContent = cut < 0 ? "" : transcript.slice(0, cut);
    history.scrollTop = history.scrollHeight;
  }

  // ---- dialogs ------------------------------------------------------------------------
  const shownText = (t) => composed(t).replace(/&&/g, "\u0000").replace(/&/g, "").replace(/\u0000/g, "&");

  // A form of a dialog whose answers go through `answer(line)`.
  function dialogForm(dialog, answer, active) {
    const form = document.createElement("form");
    form.className = "dialog";
    form.setAttribute("role", "dialog");
    form.setAttribute("aria-label", dialog.caption);
    form.dataset.template = dialog.template;
    form.addEventListener("submit", (ev) => { ev.preventDefault(); });
    const title = document.createElement("h2");
    title.textContent = dialog.caption;
    form.appendChild(title);
    const body = document.createElement("div");
    body.className = "body";
    form.appendChild(body);
    let row = null;
    let buttons = null;
    const newRow = (cls) => { const r = document.createElement("div"); r.className = cls; body.appendChild(r); return r; };
    for (const c of dialog.controls) {
      if (!c.visible) continue;
      let el;
      const label = shownText(c.text);
      switch (c.kind) {
        case "label":
          row = newRow("row");
          el = document.createElement("span");
          el.textContent = label;
          break;
        case "group":
          row = null;
          el = document.createElement("div");
          el.className = "group-title";
          el.textContent = label;
          body.appendChild(el);
          el = null;
          break;
        case "edit":
          el = document.createElement("input");
          el.type = "text";
          el.value = c.text;
          el.readOnly = c.readOnly;
          el.addEventListener("change", () => answer(c.id + "=" + el.value));
          el.addEventListener("keydown", (ev) => { if (ev.key === "Enter") { ev.preventDefault(); el.blur(); } });
          break;
        case "check":
        case "radio": {
          el = document.createElement("label");
          const box = document.createElement("input");
          box.type = c.kind === "check" ? "checkbox" : "radio";
          box.checked = c.check === 1;
          box.indeterminate = c.check === 2;
          box.disabled = !c.enabled || !active;
          box.dataset.id = c.id;
          box.addEventListener("change", () => answer(c.id + "=" + (box.checked ? "on" : "off")));
          el.appendChild(box);
          el.appendChild(document.createTextNode(" " + label));
          row = newRow("row");
          break;
        }
        case "combo":
        case "list":
        case "colour":
          if (c.typing) {
            el = document.createElement("input");
            el.value = c.text;
            const list = document.createElement("datalist");
            list.id = "entries-" + c.id;
            for (const it of c.items) { const o = document.createElement("option"); o.value = it.text; list.appendChild(o); }
            el.setAttribute("list", list.id);
            body.appendChild(list);
            el.addEventListener("change", () => {
              const n = c.items.findIndex((it) => it.text === el.value);
              answer(n >= 0 ? c.id + "=#" + n : c.id + "=" + el.value);
            });
          } else {
            el = document.createElement("select");
            if (c.kind === "list") el.size = Math.min(8, Math.max(2, c.items.length));
            c.items.forEach((it, n) => {
              const o = document.createElement("option");
              o.value = String(n);
              o.textContent = c.kind === "colour" ? it.data + " " + it.text : it.text;
              o.selected = n === c.sel;
              el.appendChild(o);
            });
            if (c.sel < 0) el.selectedIndex = -1;
            el.addEventListener("change", () => answer(c.id + "=#" + el.value));
          }
          break;
        case "button":
        case "default":
          el = document.createElement("button");
          el.type = "button";
          el.textContent = label || (c.image ? "[" + c.image + "]" : "");
          if (c.kind === "default") el.className = "default";
          el.addEventListener("click", () => answer("click " + c.id));
          if (!buttons || body.lastElementChild !== buttons) buttons = newRow("buttons");
          buttons.appendChild(el);
          el.dataset.id = c.id;
          el.disabled = !c.enabled || !active;
          el = null;
          row = null;
          break;
        case "picture":
        case "preview":
          el = document.createElement("div");
          el.className = "picture";
          el.textContent = c.kind === "picture" ? (c.image ? "image " + c.image : "") : label;
          // Images are shown as framed placeholders of their size, as the host keeps only that.
          if (c.imageWidth) { el.style.width = c.imageWidth + "px"; el.style.height = c.imageHeight + "px"; }
          break;
      }
      if (!el) continue;
      if (el.dataset.id === undefined) el.dataset.id = c.id;
      if (el.tagName !== "LABEL" && el.tagName !== "SPAN" && el.tagName !== "DIV") el.disabled = !c.enabled || !active;
      el.id = (active ? "c" : "p") + dialog.template + "-" + c.id;
      if (!row) row = newRow("row");
      row.appendChild(el);
      if (c.kind !== "label") row = null;
    }
    return form;
  }

  function showMessage() {
    const box = document.createElement("div");
    box.className = "dialog message";
    box.setAttribute("role", "alertdialog");
    const lines = transcript.split("\n");
    const text = document.createElement("p");
    text.textContent = lines.slice(Math.max(0, lines.length - 7), lines.length - 1).join("\n").trim();
    box.appendChild(text);
    const row = document.createElement("div");
    row.className = "buttons";
    for (const name of request.choices.split("/")) {
      const b = document.createElement("button");
      b.type = "button";
      b.textContent = name;
      b.addEventListener("click", () => send(name));
      row.appendChild(b);
    }
    box.appendChild(row);
    modal.replaceChildren(box);
    modal.hidden = false;
    row.firstElementChild.focus();
  }

  function onRequest(r) {
    const focused = document.activeElement && document.activeElement.id;
    request = r;
    waiting = true;
    document.body.dataset.kind = r.kind;
    document.body.dataset.asked = String(Number(document.body.dataset.asked || 0) + 1);
    promptLabel.textContent = composed(r.prompt || "");
    highlight();
    if (r.kind !== "point") clearSnap();
    modal.hidden = true;
    modal.replaceChildren();
    if (r.kind === "dialog" && r.dialog && !r.dialog.modeless) {
      modal.appendChild(dialogForm(r.dialog, send, true));
      modal.hidden = false;
    } else if (r.kind === "message") {
      showMessage();
    }
    // Dialogs that stay open: panels beside the drawing. At the command prompt an answer
    // opens the dialog (DIALOG N), applies, and leaves it open again (done).
    panels.replaceChildren();
    r.modeless.forEach((d, n) => {
      const driven = r.kind === "dialog" && r.dialog && r.dialog.modeless && r.dialog.template === d.template;
      const usable = driven || r.kind === "command";
      const answer = driven ? send : (line) => send("DIALOG " + (n + 1) + "\n" + line + "\ndone");
      panels.appendChild(dialogForm(driven ? r.dialog : d, answer, usable));
    });
    const again = focused && document.getElementById(focused);
    if (again) again.focus();
    else if (modal.hidden) command.focus();
  }

  function showBusy() {
    ended = true;
    document.body.innerHTML = '<p class="busy" role="alert">Another tab is driving this Fendo session. Close it and reload this page to take over.</p>';
  }

  // ---- the event stream -----------------------------------------------------------------
  const events = new EventSource("/events?tab=" + encodeURIComponent(tab));
  events.addEventListener("open", () => { connection.textContent = "connected"; });
  events.addEventListener("error", () => { if (!ended) connection.textContent = "reconnecting…"; });
  events.addEventListener("log", (e) => onLog(JSON.parse(e.data)));
  events.addEventListener("picture", (e) => onPicture(JSON.parse(e.data)));
  events.addEventListener("request", (e) => onRequest(JSON.parse(e.data)));
  const progress = document.getElementById("progress");
  events.addEventListener("progress", (e) => {
    const p = JSON.parse(e.data);
    progress.hidden = p.percent < 0;
    progress.value = Math.max(0, p.percent);
    progress.title = p.label;
    progress.setAttribute("aria-label", p.label);
  });
  events.addEventListener("busy", () => { events.close(); showBusy(); });
  events.addEventListener("end", () => {
    ended = true;
    events.close();
    document.body.dataset.kind = "ended";
    connection.textContent = "session ended";
    command.disabled = true;
    promptLabel.textContent = "The session has ended.";
  });
  command.focus();
})();
