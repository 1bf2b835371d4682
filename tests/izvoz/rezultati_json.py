#!/usr/bin/env python3
"""The results files for other programs, end to end.

Every shipped example is run with *JSON, *GEOJSON and *CSV: the JSON must
validate against docs/results.schema.json (an undescribed key fails), its
numbers must equal the report's to the report's printed digits, and the
GeoJSON and CSV must hold the same points.  The runs of the golden reports
validate as well, and their snooping steps and warnings equal the report's.  Point names with a quote, a
backslash, a comma and a Windows-1250 letter must come out as UTF-8 in all
three files.  Usage: rezultati_json.py NIVEX SOURCE_DIR
"""
import copy, csv, glob, json, math, os, re, subprocess, sys, tempfile

import jsonschema

NIVEX, SRC = sys.argv[1], sys.argv[2]
SCHEMA = json.load(open(os.path.join(SRC, 'docs', 'results.schema.json')))
jsonschema.Draft202012Validator.check_schema(SCHEMA)
VALIDATOR = jsonschema.Draft202012Validator(SCHEMA)
SEC = 180 / math.pi * 3600
failures = []


def check(cond, what):
    if not cond:
        failures.append(what)
    return cond


def run(folder, base, data):
    with open(os.path.join(folder, base + '.dat'), 'wb') as f:
        f.write(b'*JSON\n*GEOJSON\n*CSV\n' + data)
    p = subprocess.run([NIVEX, base + '.dat'], cwd=folder, stdin=subprocess.DEVNULL, capture_output=True)
    check(p.returncode == 0, f'{base}: exit status {p.returncode}')
    out = lambda ext, enc='utf-8': open(os.path.join(folder, base + ext), encoding=enc, newline='').read()
    return json.loads(out('.json')), out('.NVX', 'cp1250'), folder


def same(x, printed, scale, what):
    """x (a JSON number) times scale, printed with the decimals of `printed`."""
    dec = len(printed.split('.')[1]) if '.' in printed else 0
    ok = x is not None and abs(x * scale - float(printed)) <= 0.5 * 10 ** -dec * (1 + 1e-9) + 1e-12 * abs(x * scale)
    check(ok, f'{what}: JSON {x} x {scale} against the report\'s {printed}')


def last_block(report, title_re):
    """Body lines of the last table under a title: after the rule under its
    header, to the next rule."""
    lines = report.split('\n')
    start = max(i for i, l in enumerate(lines) if re.match(title_re, l))
    i = start + 2
    while not re.fullmatch(r'-+', lines[i]):
        i += 1
    body = []
    for l in lines[i + 1:]:
        if re.fullmatch(r'-+', l):
            break
        body.append(l)
    return body


def check_points(d, report, ex):
    dim = d['dimension']
    lines = report.split('\n')
    body, i = [], max(i for i, l in enumerate(lines) if re.match(r'OCENJENE (VISINE|KOORDINATE)', l)) + 2
    for l in lines[i:]:
        if re.fullmatch(r'-+', l) and body:
            break
        if l.strip() and not any(re.fullmatch(r'-?[\d.]+', w) for w in l.split()):
            continue
        body.append(l)
    groups = [[l.split() for l in g.split('\n') if l.strip()] for g in re.split(r'\n\s*\n', '\n'.join(body))]
    groups = [g for g in groups if g]
    check(len(groups) == len(d['points']), f'{ex}: {len(groups)} points in the report, {len(d["points"])} in JSON')
    deg = 180 / math.pi
    for p, rows in zip(d['points'], groups):
        apr, cor, adj, sig = p['approximate'], p['correction'], p['adjusted'], p['sigma']
        check(rows[0][1] == p['name'], f'{ex}: point {rows[0][1]} is {p["name"]} in JSON')
        if dim == 1:
            vals, exp, scl = rows[0][2:], [apr[0], cor[0], adj[0], sig[0]], [1] * 4
        elif dim == 2:
            e = p['ellipse']
            vals = rows[0][2:] + rows[1] + rows[2]
            exp, scl = apr + cor + sig + adj + [e['a'], e['b'], e['theta']], [1] * 10 + [deg]
        else:
            e, s = p['ellipse'], p['ellipsoid']
            vals, exp, scl = [], [], []
            for k, row in enumerate(rows):
                vals += row[3:] if k == 0 else row[1:]
                exp += [apr[k], cor[k], adj[k], sig[k], s['semi_axes'][k], s['angles'][k]]
                exp += [[e['a']], [e['b'], e['theta']], []][k]
                scl += [1] * 5 + [deg] + [[1], [1, deg], []][k]
        check(len(vals) == len(exp), f'{ex} point {p["name"]}: {len(vals)} numbers printed, {len(exp)} expected')
        pairs = zip(vals, exp, scl)
        for printed, x, scale in pairs:
            same(x, printed, scale, f'{ex} point {p["name"]}')


def check_global(d, report, ex):
    g = d['global_test']
    def value(label):
        return [l for l in report.split('\n') if l.startswith(label)][-1][len(label):].split()
    same(g['sigma0_apriori'], value('Referencni stand. odklon a-priori:')[0], 1000, ex + ' sigma0 a priori')
    same(g['sigma0_aposteriori'], value('Referencni stand. odklon a-posteriori:')[0], 1000, ex + ' sigma0 a posteriori')
    t = re.findall(r'-?\d+\.\d+', ' '.join(value('Globalni test:')))
    for key, printed in zip(('statistic', 'lower', 'upper'), t):
        same(g[key], printed, 1, f'{ex} {key}')


def check_observations(d, report, ex):
    unit = d['angle_unit']
    rows = []
    for title in re.findall(r'^(IZRAVNAN\w+ [A-Z ]+:)$', report, re.M)[1:]:
        rows += [l for l in last_block(report, re.escape(title)) if l.strip()]
    check(len(rows) == len(d['observations']), f'{ex}: {len(rows)} observation rows, {len(d["observations"])} in JSON')
    for o, row in zip(d['observations'], rows):
        t = row.split()
        what = f'{ex} {o["kind"]} {o["points"]} line {o["line"]}'
        angular = o['kind'] in 'SAPZ'
        kind = d['kinds'].get(o['kind'], {})
        check(kind.get('angular') == angular and kind.get('components') == ('component' in o) and
              kind.get('joins_points') == (o['kind'] in 'VZADLh'), f'{what}: its kind {kind}')
        small = (1000 * 200 / math.pi if unit == 'GON' else SEC) if angular else 1000
        flagged = '***' in t
        check(flagged == o['flagged'], what + ' flag')
        if flagged:
            k = t.index('***')
            if len(t) > k + 1 or o['gross_error'] is not None:
                same(o['gross_error'], t[k + 1] if len(t) > k + 1 else 'nan', small, what + ' gross error')
            t = t[:k]
        large = {'GON': 200 / math.pi, 'DEG': 180 / math.pi}.get(unit, 1) if angular else 1
        n = 3 if angular and unit == 'DMS' else 1
        for printed, key, scale in zip(t[-5:], ['sigma_adjusted', 'redundancy', 'w', 'mdb', 'external'],
                                       [small, 1, 1, small, 1]):
            same(o[key], printed, scale, f'{what} {key}')
        same(o['residual'], t[-7 - n], small, what + ' residual')
        same(o['sigma_residual'], t[-6 - n], small, what + ' sigma of the residual')
        for key, printed in (('adjusted', t[-5 - n:-5]), ('observed', t[-7 - 2 * n:-7 - n])):
            if n == 3:
                seconds = float(printed[0]) * 3600 + float(printed[1]) * 60 + float(printed[2])
                diff = (o[key] * SEC - seconds + 648000) % 1296000 - 648000
                check(abs(diff) <= 0.005 + 1e-7, f'{what} {key}: {o[key]} rad against {printed}')
            else:
                same(o[key], printed[0], large, f'{what} {key}')


def check_run(d, report, text, ex):
    """The snooping and the warnings against the report's sections."""
    check(d['language'] == 'sl' and 'Izvedena resitev: ' + d['solution'] + '\n' in report, f'{ex}: language, solution {d["solution"]}')
    sn = d['snooping']
    check(sn['enabled'] == bool(re.search(rb'^\*SNOOP', text, re.M)) and sn['removed'] == len(sn['steps']), f'{ex}: snooping {sn}')
    if sn['enabled']:
        rows = [l.split() for l in last_block(report, r'ISKANJE GROBIH POGRESKOV:') if re.match(r' +\d+  ', l)]
        words = {'global_test_below_lower_bound': 'globalni test je pod', 'none_above_critical_value': 'nobena statistika', 'limit_reached': 'dosezeno',
                 'no_redundancy_left': 'izlocitev zapisa', 'not_converged': 'iteracija ni', 'robust_estimation': 'robustna'}
        check(sn['stop_reason'].startswith(words[sn['stop']]), f'{ex}: stop {sn["stop"]} against {sn["stop_reason"]}')
        check(len(rows) == len(sn['steps']) and 'Iskanje je koncano: ' + sn['stop_reason'] + '.' in report,
              f'{ex}: snooping steps {len(rows)}, stop {sn["stop_reason"]}')
        m = re.search(r'Kriticna vrednost najvecjega od n = (\d+) .*: +(\S+)\n', report)
        check(m is not None and int(m.group(1)) == sn['tests'], f'{ex}: snooping tests {sn["tests"]}')
        same(sn['critical_value'], m.group(2), 1, f'{ex} snooping critical_value')
        check(sn['statistic_kind'] == ('studentized' if 'Statistika zapisa T_stud' in report else 'normalized'),
              f'{ex}: statistic kind {sn["statistic_kind"]}')
        body = report[report.find('ODSTOPANJA IZLOCENIH'):].split('\n')[2:2 + len(rows)]
        for z, t, m in zip(sn['steps'], rows, body):
            small = (1000 * 200 / math.pi if d['angle_unit'] == 'GON' else SEC) if z['kind'] in 'SAPZ' else 1000
            check(int(t[-6]) == z['line'] and t[1] == z['kind'] and t[2:-6] == z['points'], f'{ex}: step {t}')
            for key, printed, scale in zip(('statistic', 'critical_value', 'gross_error', 'sigma0_aposteriori', 'global_test_statistic'),
                                           t[-5:], (1, 1, small, 1000, 1)):
                same(z[key], printed, scale, f'{ex} step {z["line"]} {key}')
            same(z['misclosure'], m.split()[-2], small, f'{ex} step {z["line"]} misclosure')
    i = report.rfind('\nOpozorila:')
    n = int(report[i:].split()[1])
    check([w['text'] for w in d['warnings']] == [l[3:] for l in report[i:].split('\n')[2:2 + n]],
          f'{ex}: warnings {d["warnings"]}')


def check_files(d, folder, base, ex):
    pts = d['points']
    with open(os.path.join(folder, base + '.csv'), encoding='utf-8', newline='') as f:
        table = list(csv.reader(f))
    check(len(table) == len(pts) + 1, f'{ex}: CSV has {len(table) - 1} points')
    dim = d['dimension']
    for p, r in zip(pts, table[1:]):
        check(r[0] == p['name'] and r[1] == str(int(p['fixed'])), f'{ex}: CSV name and flag of {p["name"]}: {r[:2]}')
        check([float(v) for v in r[2:2 + 2 * dim]] == p['adjusted'] + p['sigma'], f'{ex}: CSV values of {p["name"]}')
    if dim == 1:
        check(not os.path.exists(os.path.join(folder, base + '.geojson')), f'{ex}: GeoJSON in a levelling network')
        return
    g = json.load(open(os.path.join(folder, base + '.geojson'), encoding='utf-8'))
    lines = [o for o in d['observations'] if len(o['points']) > 1]
    check(g['type'] == 'FeatureCollection' and 'crs' not in g, f'{ex}: GeoJSON collection without crs')
    check(len(g['features']) == len(pts) + len(lines), f'{ex}: GeoJSON features')
    for p, f in zip(pts, g['features']):
        check(f['geometry']['coordinates'] == p['adjusted'][:dim] and f['properties']['name'] == p['name'],
              f'{ex}: GeoJSON point {p["name"]}')
    at = {p['name']: p['adjusted'][:dim] for p in pts}
    for o, f in zip(lines, g['features'][len(pts):]):
        n = o['points']
        # Station to target; an angle along both its rays.
        rays = {2: [(0, 1)], 3: [(0, 1), (0, 2)], 4: [(0, 1), (2, 3)]}[len(n)]
        fr, to = [n[i] for i, _ in rays], [n[j] for _, j in rays]
        geom = [[at[a], at[b]] for a, b in zip(fr, to)]
        if len(rays) == 1:
            fr, to, geom = fr[0], to[0], geom[0]
        check(f['geometry'] == {'type': 'LineString' if len(rays) == 1 else 'MultiLineString', 'coordinates': geom} and
              [f['properties'][k] for k in ('kind', 'from', 'to', 'line', 'residual', 'w', 'removed')] ==
              [o['kind'], fr, to, o['line'], o['residual'], o['w'], False], f'{ex}: GeoJSON line {o["line"]}')

def check_loops(d, report, ex):
    """The loops of the JSON are the rows of the report's loop tables."""
    sections = re.split(r'^ZANKE (?:VISINSKIH RAZLIK|VEKTORJEV):$', report, flags=re.M)[1:]
    kinds = d.get('loops', {}).get('kinds', [])
    check(len(sections) == len(kinds), f'{ex}: {len(sections)} loop tables, {len(kinds)} kinds in JSON')
    for k, text in zip(kinds, sections):
        lines = text.split('\n')
        rules = [i for i, l in enumerate(lines) if re.fullmatch(r'-+', l)]
        body = lines[rules[1] + 1:rules[2]]
        rows = []
        for l in body:
            if l[:7].strip():
                rows.append(l.split())
            elif rows:
                rows[-1] += l.split()
        check(len(rows) == len(k['loops']) and k['count'] >= len(rows), f'{ex}: {len(rows)} loop rows')
        for z, t in zip(k['loops'], rows):
            what = f'{ex} loop {k["kind"]} {z["number"]}'
            n = 3 if k['components'] == 1 else k['components'] + 2
            flag = len(t) > 2 + n and t[2 + n] == '*'
            check(int(t[0]) == z['number'] and int(t[1]) == len(z['lines']) and flag == z['over_limit'] and
                  [int(x) for x in t[2 + n + flag:]] == z['lines'], f'{what}: {t}')
            for c in range(k['components']):
                same(z['misclosure'][c], t[2 + c], 1000, what + ' misclosure')
            if k['components'] == 1:
                same(z['sigma'][0], t[3], 1000, what + ' sigma')
            else:
                same(z['statistic'], t[2 + n - 1], 1, what + ' T')
        if k['loops']:
            bad = copy.deepcopy(d)
            bad['loops']['kinds'][0]['loops'][0]['undescribed'] = 1
            check(any(VALIDATOR.iter_errors(bad)), f'{ex}: an undescribed key of a loop passes')


with tempfile.TemporaryDirectory() as tmp:
    for path in sorted(glob.glob(os.path.join(SRC, 'examples', '*.dat'))):
        ex = os.path.basename(path)[:-4]
        d, report, folder = run(tmp, ex, open(path, 'rb').read())
        errors = [e.message for e in VALIDATOR.iter_errors(d)]
        check(not errors, f'{ex}: {errors[:3]}')
        # A key the schema does not describe fails, at every level.
        for where in (lambda x: x, lambda x: x['points'][-1], lambda x: x['observations'][-1],
                      lambda x: x['global_test'], lambda x: x['datum'], lambda x: x['snooping']):
            bad = copy.deepcopy(d)
            where(bad)['undescribed'] = 1
            check(any(VALIDATOR.iter_errors(bad)), f'{ex}: an undescribed key passes the schema')
        check_points(d, report, ex)
        check_global(d, report, ex)
        check_observations(d, report, ex)
        check_loops(d, report, ex)
        check_files(d, folder, ex, ex)
        check_run(d, report, open(path, 'rb').read(), ex)
        if d['datum']['kind'] == 'H':
            check('excluded_points' in d['datum'] and not any(p['fixed'] for p in d['points']),
                  f'{ex}: free network keys')
        if re.search(r'^\*ROBSOLV\s+(?!MNK)', open(path).read(), re.M):
            r = d.get('robust', {})
            check(r.get('function') == 'MHUB' and r.get('zero_weight') and
                  all(d['observations'][i]['weight'] == 0 for i in r['zero_weight']) and
                  all('weight' in o for o in d['observations']), f'{ex}: robust keys {r}')
        else:
            check('robust' not in d, f'{ex}: robust key without a robust estimator')

    # The other runs of the golden reports: velocities, refraction, datum
    # kinds D and P validate too.
    for path in sorted(glob.glob(os.path.join(SRC, 'tests', 'data', 'golden', '*.dat'))):
        if open(path[:-4] + '.status').read().strip() != '0':
            continue
        text = open(path, 'rb').read()
        d, report, _ = run(tmp, 'g', text)
        check(not list(VALIDATOR.iter_errors(d)), f'{path}: schema')
        check_run(d, report, text, path)
        check_loops(d, report, path)
        for z in d['snooping']['steps'][:1]:
            bad = copy.deepcopy(z)
            bad['undescribed'] = 1
            check(any(VALIDATOR.iter_errors(dict(d, snooping=dict(d['snooping'], steps=[bad])))),
                  f'{path}: an undescribed key of a snooping step passes')
        check(('velocity' in d['points'][0]) == (b'*XVT' in text), f'{path}: velocities')
        check((d['global_test']['accepted'] is None) == (b'*NACRT' in text) and ('design' in d) == (b'*NACRT' in text),
              f'{path}: a design states no global test')
        check(('refraction' in d) == bool(re.search(rb'\*KTYP (SINGLE|STAT)', text)), f'{path}: refraction')
        check('Datoteka z rezultati JSON    SE JE izdelala!' in report and 'Izpis rezultatov JSON:' in report,
              f'{path}: the report names the JSON file')

    # Names with a quote, a backslash, a comma and a Windows-1250 letter
    # (0x8A is S with caron), and a national grid.
    data = open(os.path.join(SRC, 'examples', 'ravninska_dms.dat'), 'rb').read()
    names = {b'101': b'A"1', b'102': b'B\\2', b'103': b'C,3', b'104': b'\x8aK4'}
    data = b'*EPSG 3794\n' + re.sub(rb'(?<=\s)(101|102|103|104)(?=\s)', lambda m: names[m.group(1)], data)
    d, report, folder = run(tmp, 'imena', data)
    check(not list(VALIDATOR.iter_errors(d)), 'names: schema')
    want = [v.decode('cp1250') for v in names.values()]
    check(all(w in [p['name'] for p in d['points']] for w in want) and 'ŠK4' in want, 'names in JSON')
    with open(os.path.join(folder, 'imena.csv'), encoding='utf-8', newline='') as f:
        csvnames = [r[0] for r in csv.reader(f)]
    check(all(w in csvnames for w in want), f'names in CSV: {csvnames}')
    g = json.load(open(os.path.join(folder, 'imena.geojson'), encoding='utf-8'))
    check(g.get('crs', {}).get('properties', {}).get('name') == 'urn:ogc:def:crs:EPSG::3794', 'GeoJSON crs')
    check(all(w in [f['properties'].get('name') for f in g['features']] for w in want), 'names in GeoJSON')

    # The comparison of two epochs: the second epoch's document with its
    # "deformation", against the schema and the comparison report.
    gold = os.path.join(SRC, 'tests', 'data', 'golden', 'primerjava')
    for f in ('epoha1.dat', 'epoha2.dat'):
        open(os.path.join(tmp, f), 'wb').write(open(os.path.join(gold, f), 'rb').read())
    p = subprocess.run([NIVEX, '--compare', 'epoha1.dat', 'epoha2.dat'], cwd=tmp, stdin=subprocess.DEVNULL, capture_output=True)
    check(p.returncode == 0, f'compare: exit status {p.returncode}')
    d = json.load(open(os.path.join(tmp, 'epoha2.primerjava.json'), encoding='utf-8'))
    check(not list(VALIDATOR.iter_errors(d)), 'compare: schema ' + '; '.join(e.message for e in VALIDATOR.iter_errors(d)))
    report = open(os.path.join(tmp, 'epoha2.primerjava.NVX'), encoding='cp1250').read()
    dfm = d.get('deformation', {})
    check(dfm.get('moved') == re.search(r'odkritja\): (.*)', report).group(1).split(), 'compare: moved points')
    rows = {l.split()[0]: l.split() for l in report.split('\n') if re.match(r' +\S+ +-?\d+\.\d\d +-?\d', l) and l.split()[-1] in ('stabilna', 'premaknjena')}
    check(len(rows) == len(dfm.get('points', [])) > 0, f'compare: {len(rows)} points in the report')
    for t in dfm.get('points', []):
        r = rows.get(t['name'])
        if check(r is not None, f'compare: {t["name"]} in the report'):
            same(t['displacement'][0], r[1], 1000, f'compare: {t["name"]} dx')
            same(t['test']['statistic'], r[-3], 1, f'compare: {t["name"]} T')
            check(t['moved'] == (r[-1] == 'premaknjena'), f'compare: {t["name"]} status')

for f in failures:
    print('FAIL:', f)
print(f'{len(failures)} failures')
sys.exit(1 if failures else 0)
