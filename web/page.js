// The page around the lab's canvas: scenarios (shipped, opened, dropped, edited, linked),
// keys and toolbar, downloads, and window.fdtdLab for scripts and tests. Runs before the
// compiled lab starts (Emscripten's --pre-js), so Module is the lab's module object.
'use strict';

//----- [SECTION] Calls into the lab -----
const lab = {
  load: (text, name) => Module.ccall('fdtd_load', 'string', ['string', 'string'], [text, name]),
  status: () => Module.ccall('fdtd_status', 'string', [], []),
  message: () => Module.ccall('fdtd_message', 'string', [], []),
  key: (code) => Module.ccall('fdtd_key', null, ['number'], [code]),
  step: (n) => Module.ccall('fdtd_step', null, ['number'], [n]),
  run: (on) => Module.ccall('fdtd_run', null, ['number'], [on ? 1 : 0]),
  stepsPerFrame: (n) => Module.ccall('fdtd_set_steps_per_frame', null, ['number'], [n]),
  stepCount: () => Module.ccall('fdtd_step_count', 'number', [], []),
  resize: (w, h) => Module.ccall('fdtd_resize', null, ['number', 'number'], [w, h]),
  redraw: () => Module.ccall('fdtd_redraw', null, [], []),
  say: (text) => Module.ccall('fdtd_say', null, ['string'], [text]),
  csv: (name) => Module.ccall('fdtd_csv', 'string', ['string'], [name]),
};

const shippedFolder = '/scenarios';
const defaultScenario = 'slab.toml';
const tableNames = ['fields.csv', 'probes.csv', 'spectra.csv'];
const byId = (id) => document.getElementById(id);

const current = { text: '', name: defaultScenario };
let started = false;

//----- [SECTION] Scenarios and the editor -----
function shippedNames() {
  return FS.readdir(shippedFolder).filter((n) => n.endsWith('.toml')).sort();
}

function shippedText(name) {
  return FS.readFile(shippedFolder + '/' + name, { encoding: 'utf8' });
}

function showError(text) {
  byId('error').textContent = text;
  if (text) byId('editor').classList.add('shown');
}

// "" when the scenario now runs; else its error, shown beside the editor, and the
// scenario that ran carries on.
function loadScenario(text, name) {
  const error = lab.load(text, name);
  if (error) {
    byId('source').value = text;
    byId('editedName').textContent = name;
    showError(error);
    return error;
  }
  current.text = text;
  current.name = name;
  byId('source').value = text;
  byId('editedName').textContent = name;
  byId('picker').value = shippedNames().includes(name) ? name : '';
  showError('');
  return '';
}

//----- [SECTION] Links: #name=slab or #scenario=<base64url of the TOML> -----
function toBase64Url(text) {
  const bytes = new TextEncoder().encode(text);
  let binary = '';
  bytes.forEach((b) => { binary += String.fromCharCode(b); });
  return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

function fromBase64Url(code) {
  const binary = atob(code.replace(/-/g, '+').replace(/_/g, '/'));
  return new TextDecoder().decode(Uint8Array.from(binary, (c) => c.charCodeAt(0)));
}

function scenarioOfAddress() {
  const fields = new URLSearchParams(location.hash.slice(1));
  if (fields.has('scenario')) {
    try {
      return { text: fromBase64Url(fields.get('scenario')), name: 'link.toml' };
    } catch (e) {
      return { text: '', name: 'link.toml', error: 'link.toml: the link\'s scenario is not base64url' };
    }
  }
  if (fields.has('name')) {
    const name = fields.get('name').replace(/\.toml$/, '') + '.toml';
    if (shippedNames().includes(name)) return { text: shippedText(name), name: name };
    return { text: '', name: name, error: name + ': no shipped scenario has this name' };
  }
  return null;
}

function loadFromAddress() {
  const wanted = scenarioOfAddress();
  if (!wanted) return false;
  if (wanted.error) {
    showError(wanted.error);
    return false;
  }
  return loadScenario(wanted.text, wanted.name) === '';
}

function linkToCurrent() {
  const base = location.href.split('#')[0];
  const shipped = shippedNames().includes(current.name) && shippedText(current.name) === current.text;
  return base + (shipped ? '#name=' + current.name.replace(/\.toml$/, '')
                         : '#scenario=' + toBase64Url(current.text));
}

//----- [SECTION] Downloads -----
function download(name, blob) {
  const a = document.createElement('a');
  a.href = URL.createObjectURL(blob);
  a.download = name;
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(a.href), 1000);
}

function downloadTables() {
  const saved = [];
  for (const name of tableNames) {
    const text = lab.csv(name);
    if (!text) continue;
    download(name, new Blob([text], { type: 'text/csv' }));
    saved.push(name);
  }
  lab.say('downloaded ' + saved.join(', ') + ' at step ' + lab.stepCount());
}

// The canvas keeps no picture between frames: draw one and read it in the same task.
function downloadPicture() {
  lab.redraw();
  const url = byId('canvas').toDataURL('image/png');
  fetch(url).then((r) => r.blob()).then((blob) => download('fdtd-lab.png', blob));
}

//----- [SECTION] Keys, buttons, files -----
const csvKey = 'c';

function pressKey(character) {
  if (character === csvKey) downloadTables();
  else lab.key(character.charCodeAt(0));
}

function keyOf(event) {
  if (event.key === 'Escape') return '\x1b';
  return event.key.length === 1 ? event.key : null;
}

function onKeyDown(event) {
  const target = event.target.tagName;
  if (target === 'TEXTAREA' || target === 'INPUT' || target === 'SELECT') return;
  if (event.ctrlKey || event.metaKey || event.altKey) return;
  const character = keyOf(event);
  if (character === null) return;
  event.preventDefault();
  pressKey(character);
}

function openFile(file) {
  file.text().then((text) => loadScenario(text, file.name));
}

function fillPicker() {
  const picker = byId('picker');
  picker.add(new Option('scenario...', ''));
  for (const name of shippedNames()) picker.add(new Option(name.replace(/\.toml$/, ''), name));
  picker.addEventListener('change', () => {
    if (picker.value) location.hash = 'name=' + picker.value.replace(/\.toml$/, '');
  });
}

function wireDropping() {
  const drop = byId('drop');
  window.addEventListener('dragover', (e) => { e.preventDefault(); drop.classList.add('shown'); });
  window.addEventListener('dragleave', () => drop.classList.remove('shown'));
  window.addEventListener('drop', (e) => {
    e.preventDefault();
    drop.classList.remove('shown');
    if (e.dataTransfer.files.length > 0) openFile(e.dataTransfer.files[0]);
  });
}

function wireButtons() {
  for (const button of document.querySelectorAll('#toolbar button[data-key]')) {
    button.addEventListener('click', () => { pressKey(button.dataset.key); button.blur(); });
  }
  byId('open').addEventListener('click', () => byId('file').click());
  byId('file').addEventListener('change', (e) => {
    if (e.target.files.length > 0) openFile(e.target.files[0]);
    e.target.value = '';
  });
  byId('edit').addEventListener('click', () => byId('editor').classList.toggle('shown'));
  byId('apply').addEventListener('click', () => loadScenario(byId('source').value, current.name));
  byId('link').addEventListener('click', () => {
    const link = linkToCurrent();
    navigator.clipboard.writeText(link).then(() => lab.say('link copied'),
                                             () => window.prompt('Copy this link:', link));
  });
  byId('csv').addEventListener('click', downloadTables);
  byId('png').addEventListener('click', downloadPicture);
  byId('toml').addEventListener('click', () =>
    download(current.name, new Blob([current.text], { type: 'application/toml' })));
  byId('helpButton').addEventListener('click', () => byId('help').classList.toggle('shown'));
}

//----- [SECTION] The canvas follows the window -----
function fitCanvas() {
  const stage = byId('stage');
  const canvas = byId('canvas');
  const width = Math.max(1, stage.clientWidth);
  const height = Math.max(1, stage.clientHeight);
  canvas.width = width;
  canvas.height = height;
  if (started) lab.resize(width, height);
}

// Touches reach the canvas as mouse presses, and the toolbar as ordinary clicks.
function keepTouchOnCanvas() {
  if (typeof GLUT === 'undefined' || !GLUT.touchHandler) return;
  for (const kind of ['touchstart', 'touchmove', 'touchend']) {
    window.removeEventListener(kind, GLUT.touchHandler, true);
    byId('canvas').addEventListener(kind, GLUT.touchHandler, true);
  }
}

//----- [SECTION] Start and window.fdtdLab -----
let firstFrameDrawn;
const ready = new Promise((resolve) => { firstFrameDrawn = resolve; });

function start() {
  keepTouchOnCanvas();
  fillPicker();
  wireButtons();
  wireDropping();
  document.addEventListener('keydown', onKeyDown);
  window.addEventListener('hashchange', loadFromAddress);
  started = true;
  fitCanvas();
  new ResizeObserver(fitCanvas).observe(byId('stage'));
  if (!loadFromAddress()) {
    const error = byId('error').textContent;
    loadScenario(shippedText(defaultScenario), defaultScenario);
    if (error) showError(error);
  }
  lab.run(true);
  requestAnimationFrame(() => {
    window.fdtdLab.firstFrameMs = performance.now();
    firstFrameDrawn();
  });
}

Module.canvas = byId('canvas');
Module.postRun = [start];

window.fdtdLab = {
  ready: ready,
  status: () => lab.status(),
  message: () => lab.message(),
  load: (tomlText, name) => loadScenario(tomlText, name || 'scenario.toml'),
  step: (n) => lab.step(n === undefined ? 1 : n),
  run: (on) => lab.run(on === undefined ? true : on),
  key: (character) => pressKey(character),
  csv: (name) => lab.csv(name),
  stepCount: () => lab.stepCount(),
  stepsPerFrame: (n) => lab.stepsPerFrame(n),
  link: () => linkToCurrent(),
  shipped: (name) => shippedText(name),
  redraw: () => lab.redraw(),
};
