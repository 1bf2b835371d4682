// The head of the results page: the facts of the run, drawn as soon as the
// parser reaches this script, before the large data block that follows it
// (#nivex-head holds the small members of the JSON document of the run,
// its warnings and data snooping among them, #nivex-run the date of the run).  What the page's main script
// needs from here is left in window.NIVEX.
// Every text from the data goes into the page through textContent or an
// attribute, never as markup.
// The page's own texts are in the language of the run (the document's
// "language", Slovenian when absent): T(Slovenian, English); the texts that
// come from the document are already in it.
window.NIVEX = (function () {
  'use strict';
  const D = JSON.parse(document.getElementById('nivex-head').textContent);
  const R = JSON.parse(document.getElementById('nivex-run').textContent);
  const EN = D.language === 'en';
  const T = (sl, en) => (EN ? en : sl);
  document.documentElement.lang = EN ? 'en' : 'sl';
  // The kinds of the observations as the document describes them: their
  // names, and which are angles.
  const KINDS = {}, ANGULAR = {};
  for (const k in D.kinds || {}) {
    KINDS[k] = D.kinds[k].name;
    if (D.kinds[k].angular) ANGULAR[k] = 1;
  }
  const DATUM = EN ? { V: 'constrained to the fixed points', P: 'pseudo-observations', D: 'minimum constraints', H: 'free network (inner constraints)' }
    : { V: 'vklop na dane tocke', P: 'psevdo opazovanja', D: 'minimalno stevilo vezi', H: 'prosta mreza (notranje vezi)' };
  const RHO = 180 / Math.PI;
  const gon = D.angle_unit === 'GON';

  function el(tag, attrs, text, parent) {
    const e = document.createElement(tag);
    for (const k in attrs || {}) e.setAttribute(k, attrs[k]);
    if (text !== undefined && text !== null) e.textContent = text;
    if (parent) parent.appendChild(e);
    return e;
  }
  const num = (x, d) => (x === null || x === undefined || !isFinite(x) ? '' : x.toFixed(d));
  // Small values: millimetres, or arc seconds (milligon) for angles.
  const small = (kind, x) => (x === null || x === undefined ? null : ANGULAR[kind] ? x * (gon ? 200000 / Math.PI : RHO * 3600) : x * 1000);
  const smallUnit = (kind) => (ANGULAR[kind] ? (gon ? 'mgon' : '"') : 'mm');
  function angle(x) {
    if (gon) return (x * 200 / Math.PI).toFixed(5) + ' gon';
    let s = Math.abs(x) * RHO * 3600;
    const sign = x < 0 ? '-' : '';
    if (D.angle_unit === 'DEG') return sign + (s / 3600).toFixed(6) + '\u00b0';
    s = Math.round(s * 10) / 10;
    const d = Math.floor(s / 3600), m = Math.floor((s - d * 3600) / 60);
    const sec = (s - d * 3600 - m * 60).toFixed(1);
    return sign + d + '\u00b0' + String(m).padStart(2, '0') + "'" + sec.padStart(4, '0') + '"';
  }
  const observed = (o) => (o.observed === null ? '' : ANGULAR[o.kind] ? angle(o.observed) : o.observed.toFixed(4) + ' m');

  document.title = 'Nivex: ' + D.data_file;
  const app = el('div', { id: 'app' }, null, document.body);

  // ---- Head of the page
  const head = el('header', {}, null, app);
  el('h1', {}, 'Nivex: ' + D.data_file, head);
  const dl = el('dl', { class: 'facts' }, null, head);
  const fact = (k, v) => { el('dt', {}, k, dl); return el('dd', {}, v, dl); };
  fact(T('Podatki', 'Data file'), D.data_file);
  fact(T('Izracun', 'Computed'), R.date + ', program ' + D.program.name + ' ' + D.program.version);
  fact(T('Dimenzija', 'Dimension'), D.dimension + 'D (' + T(['nivelmanska', 'ravninska', 'prostorska'], ['levelling', 'plane', 'spatial'])[D.dimension - 1] +
    T(' mreza)', ' network)'));
  let datum = D.datum.kind + ': ' + (DATUM[D.datum.kind] || '');
  if (D.datum.fixed_points) datum += ' (' + D.datum.fixed_points.join(', ') + ')';
  fact(T('Geodetski datum', 'Geodetic datum'), datum);
  fact(T('Metoda', 'Method'), D.method + ' - ' + D.solution);
  const g = D.global_test;
  // A design (*NACRT) has no measurements: no global test to state.
  const verdict = fact(T('Globalni test', 'Global test'), D.design ? T('ni ga - nacrt mreze brez meritev', 'none - a design without measurements') : '');
  if (!D.design) {
    el('strong', { class: g.accepted ? 'ok' : 'bad' }, T('Globalni test modela je ', 'Global test of the model is ') +
      (g.accepted ? T('SPREJET', 'ACCEPTED') : T('ZAVRNJEN', 'REJECTED')), verdict);
    verdict.appendChild(document.createTextNode(': ' + num(g.statistic, 4) + ', interval ' + num(g.lower, 4) + ' - ' +
      num(g.upper, 4) + T(' (stopnja zaupanja ', ' (confidence level ') + num(g.probability, 3) + T(', prostostnih stopenj ', ', degrees of freedom ') + g.dof + ')'));
  }
  fact(T('\u03c3\u2080', 'Reference standard deviation \u03c3\u2080'), T('a priori ', 'a-priori ') + num(g.sigma0_apriori, 6) +
    T(', a posteriori ', ', a-posteriori ') + num(g.sigma0_aposteriori, 6));
  fact(T('Prehodi', 'Iterations'), D.iterations + (D.converged ? T(', izravnava je skonvergirala', ', the adjustment converged')
    : T(', izravnava NI skonvergirala', ', the adjustment did NOT converge')));
  const warnings = D.warnings || [];
  const warn = fact(T('Opozorila', 'Warnings'), warnings.length ? '' : T('ni', 'none'));
  if (warnings.length) {
    const ul = el('ul', { class: 'warnings' }, null, warn);
    for (const w of warnings) el('li', {}, w.text, ul);
  }
  return { D, R, RHO, KINDS, T, el, num, small, smallUnit, observed, app, fact };
})();
