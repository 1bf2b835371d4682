// The results page of Nivex: completes the JSON document of the run with its
// large members (block #nivex-data: points, observations, relative ellipses;
// SI units) and draws the flagged observations, the map (plane and spatial
// networks, in plan) and the tables under the head that the head script drew.
// Every text from the data goes into the page through textContent or an
// attribute, never as markup.
(function () {
  'use strict';
  const { D, RHO, KINDS, T, el, num, small, smallUnit, observed, app, fact } = window.NIVEX;
  const SVGNS = 'http://www.w3.org/2000/svg';
  function sv(tag, attrs, parent) {
    const e = document.createElementNS(SVGNS, tag);
    for (const k in attrs) e.setAttribute(k, attrs[k]);
    if (parent) parent.appendChild(e);
    return e;
  }
  const obsName = (o) => o.kind + '  ' + o.points.join(' ') + (o.component ? ' ' + o.component : '');
  const lineText = (l) => (Array.isArray(l) ? l.join(', ') : String(l));
  // The snooping's statistic of a removed record by its kind.
  const statName = (o) => (o.statistic_kind === 'normalized' ? 'w_apr' : 't_stud');
  Object.assign(D, JSON.parse(document.getElementById('nivex-data').textContent));

  // Observation rows: the adjusted ones, then the records set aside by the
  // data snooping (their statistic is t_stud or w_apr, not the table's w).
  const S = D.snooping || { enabled: false, steps: [], not_tested: [] };
  const obs = D.observations.map((o, i) => ({ o: o, id: 'o-' + i, removed: false }));
  S.steps.forEach((z, i) => obs.push({ o: { kind: z.kind, points: z.points, line: z.line, w: null, statistic: z.statistic, statistic_kind: z.statistic_kind,
    gross_error: z.gross_error, flagged: true, observed: null, residual: z.misclosure }, id: 'x-' + i, removed: true }));
  // A design (*NACRT): the observations below its target redundancy number.
  const weak = new Set(D.design ? D.design.weak.map((i) => 'o-' + i) : []);
  if (D.design) {
    const v = D.design.verdicts, t = D.design.targets, ok = (b) => (b ? T('dosezen', 'met') : T('NI dosezen', 'NOT met'));
    let txt = T('ni meritev, vrednosti iz koordinat; nepreverjenih: ', 'no measurements, values from the coordinates; unchecked: ') + D.design.unchecked.length;
    if (v.max_semi_axis !== null) txt += T('; polos <= ', '; semi-axis <= ') + num(t.max_semi_axis, 4) + ' m: ' + ok(v.max_semi_axis);
    if (v.min_redundancy !== null) txt += '; r >= ' + num(t.min_redundancy, 3) + ': ' + ok(v.min_redundancy) + T(' (sibkih: ', ' (weak: ') + weak.size + ')';
    fact(T('Nacrt mreze (*NACRT)', 'Network design (*NACRT)'), txt);
  }
  const flaggedList = obs.filter((r) => r.o.flagged && !r.removed).sort((a, b) => Math.abs(b.o.w) - Math.abs(a.o.w));
  const fl = fact(T('Oznacena opazovanja', 'Flagged observations'), flaggedList.length ? '' : T('ni', 'none') + ' (|w| <= N = ' + num(D.critical_value, 3) + ')');
  const linkList = (rows, dd, what) => {
    const ul = el('ul', { class: 'flagged' }, null, dd);
    for (const r of rows) {
      const li = el('li', {}, null, ul);
      const a = el('a', { href: '#' + r.id }, obsName(r.o), li);
      a.addEventListener('click', (ev) => { ev.preventDefault(); selectObs(r); });
      let t = T(' (vrstica ', ' (line ') + lineText(r.o.line) + ')  ' + (r.removed ? statName(r.o) + ' = ' + num(r.o.statistic, 3) : 'w = ' + num(r.o.w, 3));
      if (r.o.gross_error !== null) t += ', ' + what + ' ' + num(small(r.o.kind, r.o.gross_error), 2) + ' ' + smallUnit(r.o.kind);
      li.appendChild(document.createTextNode(t));
    }
  };
  if (flaggedList.length) {
    el('p', { class: 'note' }, '|w| > N = ' + num(D.critical_value, 3) + T(', po |w|:', ', by |w|:'), fl);
    linkList(flaggedList, fl, T('groba napaka', 'gross error'));
  }
  if (S.enabled) {
    const dd = fact(T('Izloceni zapisi (*SNOOP)', 'Removed by data snooping (*SNOOP)'), S.steps.length ? '' : T('ni', 'none'));
    linkList(obs.filter((r) => r.removed), dd, T('groba napaka', 'gross error'));
    for (const z of S.not_tested) el('div', {}, T('nepreverjen: ', 'not tested: ') + z.kind + '  ' + z.points.join(' ') + T(' (vrstica ', ' (line ') + z.line + ')', dd);
  }

  // The comparison of two epochs (nivex --compare): its moved points and
  // global tests among the facts; arrows on the map.
  const DF = D.deformation || null;
  const movedSet = new Set(DF ? DF.moved : []);
  if (DF) {
    const g = DF.global_test, last = g[g.length - 1];
    fact(T('Primerjava epoh', 'Comparison of epochs'), DF.epochs.join(' \u2192 ') + ': T = ' + num(g[0].statistic, 3) + ' (' + T('kvantil ', 'quantile ') + num(g[0].quantile, 3) + ')' +
      (g.length > 1 ? T(', po iskanju ', ', after the search ') + num(last.statistic, 3) + ' (' + num(last.quantile, 3) + ')' : ''));
    fact(T('Premaknjene tocke', 'Moved points'), DF.moved.length ? DF.moved.join(', ') : T('ni', 'none'));
  }

  // ---- Map
  // Work that waits until the map is drawn (the rest of the table rows).
  let waiting = [];
  const afterMap = (fn) => (waiting ? waiting.push(fn) : setTimeout(fn, 0));
  const mapDone = () => { const w = waiting; waiting = null; for (const fn of w) setTimeout(fn, 0); };
  const byName = new Map();
  D.points.forEach((p, i) => byName.set(p.name, i));
  const info = el('div', { id: 'info' }, null, null);
  let selectPointRow = () => {}, selectObsRow = () => {};
  const mapEls = new Map();
  let selected = [];
  function mark(els) {
    for (const e of selected) e.classList.remove('sel');
    selected = els.filter(Boolean);
    for (const e of selected) e.classList.add('sel');
  }
  function showInfo(title, rows) {
    info.textContent = '';
    el('h3', {}, title, info);
    const t = el('dl', {}, null, info);
    for (const [k, v] of rows) { el('dt', {}, k, t); el('dd', {}, v, t); }
  }
  function pointInfo(i) {
    const p = D.points[i];
    const rows = [[T('Vrsta', 'Type'), p.fixed ? T('dana tocka', 'fixed point') : T('nova tocka', 'new point')]];
    const ax = D.dimension === 1 ? ['H'] : ['X', 'Y', 'Z'].slice(0, D.dimension);
    ax.forEach((a, k) => { rows.push([a, num(p.adjusted[k], 4) + ' m']); rows.push(['\u03c3' + a, num(p.sigma[k] * 1000, 2) + ' mm']); });
    if (p.ellipse) rows.push([T('Elipsa a, b, \u03b8', 'Error ellipse a, b, \u03b8'), num(p.ellipse.a * 1000, 2) + ' mm, ' + num(p.ellipse.b * 1000, 2) + ' mm, ' + num(p.ellipse.theta * RHO, 1) + '\u00b0']);
    const dt = DF ? DF.points.find((t) => t.name === p.name) : null;
    if (dt) rows.push([T('Premik', 'Displacement'), dt.displacement.map((x) => num(x * 1000, 2)).join(', ') + ' mm' + (dt.moved ? T(' (premaknjena)', ' (moved)') : '')]);
    showInfo(T('Tocka ', 'Point ') + p.name, rows);
  }
  function obsInfo(r) {
    const o = r.o, u = ' ' + smallUnit(o.kind);
    const rows = [[T('Vrsta', 'Kind'), KINDS[o.kind] || o.kind], [T('Vrstica', 'Line'), lineText(o.line)]];
    if (r.removed) rows.push([T('Stanje', 'Status'), T('izlocen z iskanjem grobih pogreskov', 'removed by data snooping')], [T('Odstopanje', 'Misclosure'), num(small(o.kind, o.residual), 2) + u]);
    else rows.push([T('Opazovano', 'Observed'), observed(o)], ['\u03c3', num(small(o.kind, o.sigma), 2) + u], [T('Popravek v', 'Residual v'), num(small(o.kind, o.residual), 2) + u],
      [T('r', 'Redundancy number r'), num(o.redundancy, 3)], [T('MDB', 'MDE'), num(small(o.kind, o.mdb), 2) + u]);
    rows.push(r.removed ? [statName(o), num(o.statistic, 3)] : [T('w', 'Standardised residual w'), num(o.w, 3)]);
    if (o.gross_error !== null && o.gross_error !== undefined) rows.push([T('Groba napaka', 'Gross error'), num(small(o.kind, o.gross_error), 2) + u]);
    if (o.flagged && !r.removed) rows.push([T('Oznaka', 'Flag'), '|w| > N = ' + num(D.critical_value, 3)]);
    showInfo(obsName(o), rows);
  }
  function selectPoint(i) { mark([mapEls.get('p-' + i)]); pointInfo(i); selectPointRow(i); }
  function selectObs(r) { mark([mapEls.get(r.id)]); obsInfo(r); selectObsRow(r); }

  if (D.dimension >= 2) {
    const sec = el('section', { id: 'mapsec' }, null, app);
    el('h2', {}, T('Karta mreze', 'Network map') + (D.dimension === 3 ? T(' (tloris)', ' (plan view)') : ''), sec);
    const wrap = el('div', { class: 'mapwrap' }, null, sec);
    const legend = el('div', { class: 'legend' }, null, wrap);
    const svg = sv('svg', { id: 'map', role: 'img' }, wrap);
    wrap.appendChild(info);
    el('p', { class: 'note' }, T('Kolesce: povecava, vlecenje: premik, klik na tocko ali opazovanje: njegove vrednosti.',
      'Wheel: zoom, drag: pan, click on a point or an observation: its values.'), sec);
    // The map is drawn once the head and the first rows of the tables are
    // on the screen: a large network's map takes a moment.
    const drawMap = () => {
      // The size is read before the map is filled: reading it later would
      // lay out every element of a large network once more.
      let size = [svg.clientWidth || 800, svg.clientHeight || 600], vb = null, dragged = false;
      const x0 = D.points.length ? D.points[0].adjusted[0] : 0, y0 = D.points.length ? D.points[0].adjusted[1] : 0;
      const P = D.points.map((p) => [p.adjusted[0] - x0, y0 - p.adjusted[1]]);
      let minx = Infinity, maxx = -Infinity, miny = Infinity, maxy = -Infinity;
      for (const [x, y] of P) { minx = Math.min(minx, x); maxx = Math.max(maxx, x); miny = Math.min(miny, y); maxy = Math.max(maxy, y); }
      if (!P.length) { minx = miny = 0; maxx = maxy = 1; }
      const ext = Math.max(maxx - minx, maxy - miny, 1);
      const pad = ext * 0.08;
      const home = [minx - pad, miny - pad, maxx - minx + 2 * pad, maxy - miny + 2 * pad];
      vb = home.slice();
      // One exaggeration for absolute and relative ellipses: the largest
      // semi-axis drawn at about 4 % of the network's extent.
      let amax = 0;
      for (const p of D.points) if (p.ellipse && p.ellipse.a) amax = Math.max(amax, p.ellipse.a);
      for (const e of D.relative_ellipses) if (e.a) amax = Math.max(amax, e.a);
      const nice = (v) => { const e = Math.pow(10, Math.floor(Math.log10(v))), f = v / e; return (f < 1.5 ? 1 : f < 3.5 ? 2 : f < 7.5 ? 5 : 10) * e; };
      const exag = amax > 0 ? nice(0.04 * ext / amax) : 1;

      // The ellipses, lines and markers hold numbers and the page's own ids
      // and classes only, so they are written as one piece of markup (much
      // faster than element by element); the names are set as text below.
      const f = (x) => +x.toFixed(3);
      const kindClass = (k) => (KINDS[k] ? 'k-' + k : 'k-x');
      // All absolute ellipses are one path of arcs, all relative ones another.
      const ell = { abs: [], rel: [] };
      const ellipse = (c, e, cls) => {
        if (!e || !(e.a > 0)) return;
        const t = -e.theta, a = e.a * exag, b = e.b * exag, dx = a * Math.cos(t), dy = a * Math.sin(t);
        const arc = ' A' + f(a) + ' ' + f(b) + ' ' + f(t * RHO) + ' 1 0 ';
        ell[cls].push('M' + f(c[0] + dx) + ' ' + f(c[1] + dy) + arc + f(c[0] - dx) + ' ' + f(c[1] - dy) + arc + f(c[0] + dx) + ' ' + f(c[1] + dy));
      };
      D.points.forEach((p, i) => { if (!p.fixed) ellipse(P[i], p.ellipse, 'abs'); });
      for (const e of D.relative_ellipses) {
        const a = byName.get(e.points[0]), b = byName.get(e.points[1]);
        if (a !== undefined && b !== undefined) ellipse([(P[a][0] + P[b][0]) / 2, (P[a][1] + P[b][1]) / 2], e, 'rel');
      }
      // Observations between two points are lines of their own (clicked, found
      // by their row), the flagged and removed ones on top; an angle is drawn
      // along its rays (station to both targets; an angle between directions
      // along both directions): faintly, as one path of each kind under the
      // lines, but as a line of its own when flagged or removed.
      const RAYS = { 2: [[0, 1]], 3: [[0, 1], [0, 2]], 4: [[0, 1], [2, 3]] };
      const rayPath = (r) => RAYS[r.o.points.length].map(([i, j]) => {
        const a = P[byName.get(r.o.points[i])], b = P[byName.get(r.o.points[j])];
        return 'M' + f(a[0]) + ' ' + f(a[1]) + 'L' + f(b[0]) + ' ' + f(b[1]);
      }).join('');
      const onMap = obs.filter((r) => RAYS[r.o.points.length] && r.o.points.every((n) => byName.has(n)));
      const drawn = onMap.filter((r) => r.o.points.length === 2 || r.o.flagged || r.removed || weak.has(r.id));
      const rank = (r) => (r.removed ? 3 : r.o.flagged || weak.has(r.id) ? 2 : r.o.kind === 'D' || r.o.kind === 'L' ? 1 : 0);
      drawn.sort((a, b) => rank(a) - rank(b));
      const kindsDrawn = new Set(), rays = new Map();
      for (const r of onMap) {
        if (r.o.points.length === 2 || r.o.flagged || r.removed || weak.has(r.id)) continue;
        const k = kindClass(r.o.kind);
        if (!rays.has(k)) rays.set(k, []);
        rays.get(k).push(rayPath(r));
        kindsDrawn.add(r.o.kind);
      }
      const lines = drawn.map((r) => {
        kindsDrawn.add(r.o.kind);
        return '<path class="obs ' + kindClass(r.o.kind) + (r.o.flagged ? ' flag' : '') + (r.removed ? ' removed' : '') + (weak.has(r.id) ? ' weak' : '') +
          '" data-row="' + r.id + '" d="' + rayPath(r) + '"/>';
      });
      const pts = D.points.map((p, i) => '<circle class="pt ' + (p.fixed ? 'fixed' : 'new') + (movedSet.has(p.name) ? ' moved' : '') + '" data-pt="' + i + '" cx="' +
        f(P[i][0]) + '" cy="' + f(P[i][1]) + '"/><text class="lbl" dx="0.5em" dy="-0.4em" x="' + f(P[i][0]) + '" y="' + f(P[i][1]) + '"></text>');
      // Displacements of the comparison: arrows from each common point, the
      // largest drawn at about 8 % of the network's extent.
      let arrows = '', dexag = 1;
      if (DF) {
        let dmax = 0;
        for (const t of DF.points) dmax = Math.max(dmax, Math.hypot(t.displacement[0], t.displacement[1]));
        dexag = dmax > 0 ? nice(0.08 * ext / dmax) : 1;
        for (const t of DF.points) {
          const i = byName.get(t.name);
          if (i === undefined) continue;
          const e = [P[i][0] + t.displacement[0] * dexag, P[i][1] - t.displacement[1] * dexag];
          arrows += '<path class="arrow' + (t.moved ? ' moved' : '') + '" marker-end="url(#arrowhead)" d="M' + f(P[i][0]) + ' ' + f(P[i][1]) + 'L' + f(e[0]) + ' ' + f(e[1]) + '"/>';
        }
      }
      let rayPaths = '';
      for (const [k, d] of rays) rayPaths += '<path class="rays ' + k + '" d="' + d.join('') + '"/>';
      svg.innerHTML = '<g id="ellipses"><path class="abs" d="' + ell.abs.join('') + '"/><path class="rel" d="' + ell.rel.join('') +
        '"/></g><g id="rays">' + rayPaths + '</g><g id="obs">' + lines.join('') + '</g><defs><marker id="arrowhead" viewBox="0 0 10 10" refX="9" refY="5" ' +
        'markerWidth="4" markerHeight="4" orient="auto-start-reverse"><path d="M0 0L10 5L0 10z"/></marker></defs><g id="arrows">' + arrows + '</g><g id="pts">' + pts.join('') + '</g>';
      const labels = svg.querySelectorAll('#pts text');
      D.points.forEach((p, i) => { labels[i].textContent = p.name; });
      for (const e of svg.querySelectorAll('#obs path')) mapEls.set(e.getAttribute('data-row'), e);
      for (const e of svg.querySelectorAll('#pts circle')) mapEls.set('p-' + e.getAttribute('data-pt'), e);
      const rowById = new Map(obs.map((r) => [r.id, r]));
      svg.addEventListener('click', (ev) => {
        if (dragged) return;
        const t = ev.target;
        if (t.hasAttribute('data-row')) selectObs(rowById.get(t.getAttribute('data-row')));
        else if (t.hasAttribute('data-pt')) selectPoint(+t.getAttribute('data-pt'));
      });

      // Legend, exaggeration and scale bars, drawn in screen units.
      const key = (cls, text) => { const s = el('span', { class: 'key' }, null, legend); el('i', { class: cls }, null, s); s.appendChild(document.createTextNode(text)); };
      key('kp fixed', T('dana tocka', 'fixed point'));
      key('kp new', T('nova tocka', 'new point'));
      for (const k of Object.keys(KINDS)) if (kindsDrawn.has(k)) key('kl k-' + k, KINDS[k]);
      key('kl flag', '|w| > N');
      if (S.steps.length) key('kl removed', T('izloceno', 'removed'));
      if (weak.size) key('kl weak', T('sibko: r < ', 'weak: r < ') + num(D.design.targets.min_redundancy, 3));
      key('ke abs', T('absolutna elipsa', 'error ellipse'));
      key('ke rel', T('relativna elipsa', 'relative error ellipse'));
      const scale = el('div', { class: 'scale', id: 'scale' }, null, wrap);
      const bar = el('div', { class: 'bar' }, null, scale), barText = el('span', {}, '', scale);
      const ebar = el('div', { class: 'bar ell' }, null, scale), ebarText = el('span', {}, '', scale);
      el('span', { class: 'exag' }, T('Elipse povecane ', 'Ellipses exaggerated ') + exag + ' x', scale);
      if (DF) {
        key('kl arrow', T('premik (povecan ', 'displacement (exaggerated ') + dexag + ' x)');
        key('kp moved', T('premaknjena tocka', 'moved point'));
        el('span', { class: 'exag', id: 'dexag' }, T('Premiki povecani ', 'Displacements exaggerated ') + dexag + ' x', scale);
      }

      function apply() {
        const w = size[0], h = size[1];
        const u = Math.max(vb[2] / w, vb[3] / h);   // metres per screen pixel
        svg.setAttribute('viewBox', vb.join(' '));
        svg.style.setProperty('--u', u);
        const m = nice(100 * u);
        bar.style.width = (m / u) + 'px';
        barText.textContent = m >= 1000 ? m / 1000 + ' km' : m >= 1 ? m + ' m' : m * 100 + ' cm';
        const em = nice(60 * u / exag);
        ebar.style.width = (em * exag / u) + 'px';
        ebarText.textContent = T('elipse: ', 'ellipses: ') + (em * 1000 >= 1 ? +(em * 1000).toPrecision(3) + ' mm' : +(em * 1e6).toPrecision(3) + ' \u00b5m');
      }
      const toWorld = (ev) => {
        const r = svg.getBoundingClientRect();
        const u = Math.max(vb[2] / r.width, vb[3] / r.height);
        const cx = vb[0] + vb[2] / 2, cy = vb[1] + vb[3] / 2;
        return [cx + (ev.clientX - r.left - r.width / 2) * u, cy + (ev.clientY - r.top - r.height / 2) * u];
      };
      svg.addEventListener('wheel', (ev) => {
        ev.preventDefault();
        const f = Math.exp(ev.deltaY * 0.0015), [wx, wy] = toWorld(ev);
        vb = [wx - (wx - vb[0]) * f, wy - (wy - vb[1]) * f, vb[2] * f, vb[3] * f];
        apply();
      }, { passive: false });
      let start = null;
      svg.addEventListener('pointerdown', (ev) => { start = [ev.clientX, ev.clientY, vb[0], vb[1]]; dragged = false; });
      svg.addEventListener('pointermove', (ev) => {
        if (!start) return;
        const dx = ev.clientX - start[0], dy = ev.clientY - start[1];
        if (!dragged && Math.hypot(dx, dy) < 4) return;
        if (!dragged) svg.setPointerCapture(ev.pointerId);
        dragged = true;
        const r = svg.getBoundingClientRect(), u = Math.max(vb[2] / r.width, vb[3] / r.height);
        vb[0] = start[2] - dx * u; vb[1] = start[3] - dy * u;
        apply();
      });
      svg.addEventListener('pointerup', () => { start = null; setTimeout(() => { dragged = false; }, 0); });
      svg.addEventListener('dblclick', () => { vb = home.slice(); apply(); });
      window.addEventListener('resize', () => { size = [svg.clientWidth, svg.clientHeight]; apply(); });
      apply();
      document.body.setAttribute('data-map', 'drawn');
      performance.mark('nivex-map');
      mapDone();
    };
    requestAnimationFrame(() => setTimeout(drawMap, 0));
  } else {
    const sec = el('section', { id: 'mapsec' }, null, app);
    sec.appendChild(info);
    setTimeout(mapDone, 0);
  }
  info.textContent = T('Izberite tocko ali opazovanje.', 'Select a point or an observation.');

  // ---- Tables: sortable by any column, rows built in chunks after the
  // first ones so that a large network paints at once.
  function table(title, columns, rows, flagged, rowOf) {
    const sec = el('section', { class: 'tab' }, null, app);
    el('h2', {}, title + ' (' + rows.length + ')', sec);
    const lab = el('label', {}, null, sec);
    const cb = el('input', { type: 'checkbox', class: 'onlyflagged' }, null, lab);
    lab.appendChild(document.createTextNode(T(' samo oznacene vrstice', ' flagged rows only')));
    const t = el('table', {}, null, sec), thead = el('thead', {}, null, t), hr = el('tr', {}, null, thead);
    const tbody = el('tbody', {}, null, t);
    const built = new Array(rows.length);
    let order = rows.map((_, i) => i), shown = 0, sortCol = -1, desc = false, job = 0;
    const build = (i) => {
      if (built[i]) return built[i];
      const tr = el('tr', { id: rowOf(rows[i]).id });
      if (flagged(rows[i])) tr.className = 'flag';
      if (rows[i].removed) tr.className += ' removed';
      for (const c of columns) el('td', c.num ? { class: 'n' } : {}, c.text(rows[i]), tr);
      tr.addEventListener('click', () => rowOf(rows[i]).pick());
      return (built[i] = tr);
    };
    const more = (n) => {
      const f = document.createDocumentFragment(), end = Math.min(order.length, shown + n);
      for (; shown < end; ++shown) f.appendChild(build(order[shown]));
      tbody.appendChild(f);
    };
    const render = () => {
      ++job;
      order = rows.map((_, i) => i).filter((i) => !cb.checked || flagged(rows[i]));
      if (sortCol >= 0) {
        const k = columns[sortCol].key, s = desc ? -1 : 1;
        order.sort((a, b) => {
          const x = k(rows[a]), y = k(rows[b]);
          if (x === y) return a - b;
          if (x === null) return 1;
          if (y === null) return -1;
          return (x < y ? -1 : 1) * s;
        });
      }
      tbody.textContent = '';
      shown = 0;
      more(200);
      const my = job;
      const step = () => { if (my === job && shown < order.length) { more(2000); setTimeout(step, 0); } };
      afterMap(step);
    };
    columns.forEach((c, j) => {
      const th = el('th', { title: T('Uredi po stolpcu', (c.tip ? c.tip + ': ' : '') + 'sort by this column') }, c.head, hr);
      th.addEventListener('click', () => {
        desc = sortCol === j ? !desc : !!c.num;
        sortCol = j;
        for (const h of hr.children) h.removeAttribute('aria-sort');
        th.setAttribute('aria-sort', desc ? 'descending' : 'ascending');
        render();
      });
    });
    cb.addEventListener('change', render);
    render();
    // Select a row: shown (the filter cleared when it hides the row), built,
    // marked and scrolled to.
    return (i) => {
      if (cb.checked && !flagged(rows[i])) { cb.checked = false; render(); }
      while (!built[i] || !built[i].parentNode) more(order.length);
      for (const e of tbody.querySelectorAll('tr.sel')) e.classList.remove('sel');
      built[i].classList.add('sel');
      built[i].scrollIntoView({ block: 'nearest' });
    };
  }

  const ax = D.dimension === 1 ? ['H'] : ['X', 'Y', 'Z'].slice(0, D.dimension);
  const pcols = [{ head: T('Tocka', 'Point'), text: (p) => p.name, key: (p) => p.name },
    { head: T('Vrsta', 'Type'), text: (p) => (p.fixed ? T('dana', 'fixed') : T('nova', 'new')), key: (p) => (p.fixed ? 0 : 1) }];
  ax.forEach((a, k) => pcols.push({ head: a + ' [m]', num: 1, text: (p) => num(p.adjusted[k], 4), key: (p) => p.adjusted[k] }));
  ax.forEach((a, k) => pcols.push({ head: '\u03c3' + a + ' [mm]', num: 1, text: (p) => num(p.sigma[k] * 1000, 2), key: (p) => p.sigma[k] }));
  if (D.dimension > 1) {
    const ek = (p, f) => (p.ellipse && p.ellipse[f] !== null ? p.ellipse[f] : null);
    pcols.push({ head: 'a [mm]', tip: 'error ellipse, semi-major axis', num: 1, text: (p) => num(ek(p, 'a') * 1000, 2), key: (p) => ek(p, 'a') },
      { head: 'b [mm]', tip: 'error ellipse, semi-minor axis', num: 1, text: (p) => num(ek(p, 'b') * 1000, 2), key: (p) => ek(p, 'b') },
      { head: '\u03b8 [\u00b0]', tip: 'error ellipse, bearing of the major axis', num: 1, text: (p) => num(ek(p, 'theta') * RHO, 1), key: (p) => ek(p, 'theta') });
  }
  const prow = D.points.map((p, i) => Object.assign({}, p, { id: 'p-' + i, pick: () => selectPoint(i) }));
  const touched = new Set();
  for (const r of obs) if (r.o.flagged) for (const n of r.o.points) touched.add(n);
  const selP = table(T('Tocke', 'Points'), pcols, prow, (p) => touched.has(p.name), (p) => p);
  selectPointRow = (i) => selP(i);

  const sm = (k) => (r) => small(r.o.kind, r.o[k]);
  const smt = (k, d) => (r) => { const v = sm(k)(r); return v === null || v === undefined ? '' : num(v, d) + ' ' + smallUnit(r.o.kind); };
  const ocols = [
    { head: '#', num: 1, text: (r) => (r.removed ? 'x' : '') + (r.n + 1), key: (r) => r.n },
    { head: T('Vrsta', 'Kind'), text: (r) => r.o.kind, key: (r) => r.o.kind },
    { head: T('Tocke', 'Points'), text: (r) => r.o.points.join(' ') + (r.o.component ? ' ' + r.o.component : ''), key: (r) => r.o.points.join(' ') },
    { head: T('Vrstica', 'Line'), tip: 'line of the data file', num: 1, text: (r) => lineText(r.o.line), key: (r) => (Array.isArray(r.o.line) ? r.o.line[0] : r.o.line) },
    { head: T('Opazovano', 'Observed'), num: 1, text: (r) => observed(r.o), key: (r) => r.o.observed },
    { head: '\u03c3', tip: 'a-priori standard deviation', num: 1, text: smt('sigma', 2), key: sm('sigma') },
    { head: T('Popravek v', 'Residual v'), num: 1, text: smt('residual', 2), key: sm('residual') },
    { head: 'r', tip: 'redundancy number', num: 1, text: (r) => num(r.o.redundancy, 3), key: (r) => (r.o.redundancy === undefined ? null : r.o.redundancy) },
    { head: 'w', tip: 'standardised residual', num: 1, text: (r) => num(r.o.w, 3), key: (r) => r.o.w },
    { head: '|w|', num: 1, text: (r) => (r.o.w === null ? '' : num(Math.abs(r.o.w), 3)), key: (r) => (r.o.w === null ? null : Math.abs(r.o.w)) },
    { head: S.statistic_kind === 'normalized' ? 'w_apr' : 't_stud', num: 1, text: (r) => num(r.o.statistic, 3), key: (r) => (r.o.statistic === undefined ? null : r.o.statistic) },
    { head: T('MDB', 'MDE'), tip: 'marginal detectable error', num: 1, text: smt('mdb', 2), key: sm('mdb') },
    { head: T('Oznaka', 'Flag'), text: (r) => (r.removed ? T('izlocen', 'removed') : r.o.flagged ? '***' : ''), key: (r) => (r.removed ? 2 : r.o.flagged ? 1 : 0) },
    { head: T('Groba napaka', 'Gross error'), tip: 'estimated gross error', num: 1, text: smt('gross_error', 2), key: sm('gross_error') }];
  obs.forEach((r, i) => { r.n = i; r.pick = () => selectObs(r); });
  const selO = table(T('Opazovanja', 'Observations'), ocols, obs, (r) => r.o.flagged, (r) => r);
  selectObsRow = (r) => selO(r.n);
})();
