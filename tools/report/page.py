"""The report page: one self-contained HTML file (its style and script
inline) that refers to its figures in fig/ and to the run's own pictures in
the directory above it."""

import datetime
import html
import json
import shlex

from . import expect, files

STYLE = """
body { font-family: system-ui, sans-serif; margin: 0; color: #1d1d1f; background: #fafafa; }
header { background: #20362b; color: #f4f7f2; padding: 14px 24px 10px; }
header h1 { margin: 0 0 4px; font-size: 22px; font-weight: 600; }
header .dir { font-family: monospace; font-size: 13px; opacity: 0.85; }
nav { position: sticky; top: 0; z-index: 2; background: #2f4f3e; padding: 6px 24px; }
nav a { color: #e8f3ea; margin-right: 18px; text-decoration: none; font-size: 14px; }
nav a:hover { text-decoration: underline; }
main { padding: 8px 24px 40px; }
section { margin-top: 18px; }
h2 { font-size: 18px; border-bottom: 1px solid #ccd; padding-bottom: 3px; }
.summary { display: flex; flex-wrap: wrap; gap: 18px; align-items: flex-start; }
table.kv { border-collapse: collapse; font-size: 13px; background: #fff; }
table.kv th { text-align: left; padding: 3px 10px 3px 6px; color: #445; font-weight: 600;
  vertical-align: top; white-space: nowrap; }
table.kv td { padding: 3px 8px; font-family: monospace; }
table.kv tr:nth-child(odd) { background: #f1f4f1; }
.box { background: #fff; border: 1px solid #dde; border-radius: 4px; padding: 8px 12px; }
.box h3 { margin: 0 0 6px; font-size: 14px; }
.ok { color: #1c6b34; }
.warn { color: #9a4a00; }
.bad { color: #b00020; }
details { font-size: 13px; margin: 2px 0; }
details code { display: inline-block; margin: 1px 6px 1px 0; }
.figs { display: flex; flex-wrap: wrap; gap: 14px; }
figure { margin: 0; background: #fff; border: 1px solid #dde; border-radius: 4px; padding: 6px;
  width: fit-content; max-width: 100%; box-sizing: border-box; }
figure img { display: block; max-width: 100%; }
figcaption { font-size: 12px; color: #444; width: 0; min-width: 100%; margin-top: 4px; }
.tabs { margin: 4px 0 10px; display: flex; flex-wrap: wrap; gap: 4px; }
.tabs button { font-size: 13px; padding: 3px 9px; border: 1px solid #9ab; background: #fff;
  border-radius: 3px; cursor: pointer; }
.tabs button.current { background: #2f4f3e; color: #fff; border-color: #2f4f3e; }
.failed { padding: 30px; color: #b00020; font-size: 13px; }
.controls { display: flex; align-items: center; gap: 10px; margin: 8px 0; font-size: 14px; }
.controls input[type=range] { width: 420px; }
.controls button { font-size: 14px; padding: 2px 10px; }
#time-label { font-weight: 600; min-width: 150px; }
.times { font-size: 12px; margin-bottom: 8px; }
.times a { margin-right: 6px; color: #2f4f3e; cursor: pointer; }
.times a.current { font-weight: 700; text-decoration: underline; }
.montages { display: flex; flex-wrap: wrap; gap: 12px; }
.montages figure img { height: 640px; width: auto; }
.singles { display: flex; flex-wrap: wrap; gap: 6px; margin-top: 10px; }
.singles a { display: flex; flex-direction: column; align-items: center; width: 74px;
  text-decoration: none; color: #333; font-size: 10px; word-break: break-all; text-align: center; }
.singles img { height: 300px; width: auto; border: 1px solid #ccc; background: #fff; }
.singles.large img { height: 640px; }
.singles.large a { width: auto; }
.note { font-size: 13px; color: #9a4a00; margin: 4px 0; }
.muted { color: #667; font-size: 13px; }
"""

TABS_SCRIPT = """
(function () {
  // One figure at a time where a section has tabs; without the script all show.
  document.querySelectorAll('.tabs').forEach(function (bar) {
    var figs = document.getElementById(bar.dataset.for).children;
    var buttons = bar.querySelectorAll('button');
    function pick(k) {
      for (var i = 0; i < figs.length; i++) figs[i].style.display = i === k ? '' : 'none';
      buttons.forEach(function (b, i) { b.className = i === k ? 'current' : ''; });
    }
    buttons.forEach(function (b, i) { b.addEventListener('click', function () { pick(i); }); });
    bar.style.display = '';
    pick(0);
  });
})();
"""

SCRIPT = """
(function () {
  var sets = JSON.parse(document.getElementById('picture-sets').textContent);
  if (!sets.length) return;
  var slider = document.getElementById('time-slider');
  var label = document.getElementById('time-label');
  var montages = document.getElementById('montages');
  var singles = document.getElementById('singles');
  var notes = document.getElementById('set-notes');
  var times = document.getElementById('time-list');
  var cur = -1;
  slider.max = sets.length - 1;
  sets.forEach(function (s, i) {
    var a = document.createElement('a');
    a.textContent = s.t;
    a.addEventListener('click', function () { show(i); });
    times.appendChild(a);
  });
  function el(tag, attrs, text) {
    var e = document.createElement(tag);
    for (var k in attrs) e.setAttribute(k, attrs[k]);
    if (text) e.textContent = text;
    return e;
  }
  function show(i) {
    i = Math.max(0, Math.min(sets.length - 1, i));
    if (i === cur) return;
    cur = i;
    var s = sets[i];
    slider.value = i;
    label.textContent = 'time ' + s.t + ' (' + (i + 1) + ' of ' + sets.length + ')';
    Array.prototype.forEach.call(times.children, function (a, k) {
      a.className = k === i ? 'current' : '';
    });
    montages.textContent = '';
    s.m.forEach(function (p) {
      var f = el('figure');
      var a = el('a', {href: '../' + p[1], target: '_blank'});
      a.appendChild(el('img', {src: '../' + p[1], alt: p[0]}));
      f.appendChild(a);
      f.appendChild(el('figcaption', {}, p[0]));
      montages.appendChild(f);
    });
    singles.textContent = '';
    singles.className = s.m.length ? 'singles' : 'singles large';
    s.s.forEach(function (p) {
      var a = el('a', {href: '../' + p[1], target: '_blank', title: p[1]});
      a.appendChild(el('img', {src: '../' + p[1], alt: p[0]}));
      a.appendChild(el('span', {}, p[0]));
      singles.appendChild(a);
    });
    notes.textContent = '';
    if (s.p.length) notes.appendChild(el('div', {'class': 'note'},
      'being written or cut short (not shown): ' + s.p.join(', ')));
    if (s.x.length) notes.appendChild(el('div', {'class': 'note'},
      (s.last ? 'not written yet: ' : 'missing: ') + s.x.join(', ')));
    if (history.replaceState) history.replaceState(null, '', '#t=' + s.t);
  }
  slider.addEventListener('input', function () { show(+slider.value); });
  document.getElementById('prev').addEventListener('click', function () { show(cur - 1); });
  document.getElementById('next').addEventListener('click', function () { show(cur + 1); });
  document.addEventListener('keydown', function (e) {
    if (e.altKey || e.ctrlKey || e.metaKey || e.target === slider) return;
    if (e.key === 'ArrowLeft') { show(cur - 1); e.preventDefault(); }
    else if (e.key === 'ArrowRight') { show(cur + 1); e.preventDefault(); }
  });
  var start = sets.length - 1;
  for (var k = sets.length - 1; k >= 0; k--) {
    if (sets[k].m.length || sets[k].s.length) { start = k; break; }
  }
  var m = /#t=(\\d+)/.exec(location.hash);
  if (m) sets.forEach(function (s, k) { if (String(s.t) === m[1]) start = k; });
  show(start);
})();
"""

SECTIONS = (
    ('series', 'Time series'),
    ('points', 'Point histories'),
    ('kymographs', 'Kymographs'),
    ('profiles', 'Profiles along the root'),
)


# Sections that show one figure at a time, chosen by a row of buttons.
TABBED = ('points',)


def esc(s):
    return html.escape(str(s), quote=True)


def gallery(found, prog, latest, finished):
    """The picture sets, one entry per time: montages, single pictures,
    pictures not complete yet, and stems expected but absent."""
    order = {s: k for k, s in enumerate(prog.pictures)} if prog else {}
    sets = []
    for t in sorted(found.pictures):
        stems = found.pictures[t]
        montages, singles, partial = [], [], []
        for stem in sorted(stems, key=lambda s: (order.get(s, len(order)), s)):
            info = stems[stem]
            if not files.picture_complete(info):
                partial.append(stem)
            elif stem in files.MONTAGE_STEMS:
                montages.append([stem, info.name])
            else:
                singles.append([stem, info.name])
        expected = expect.expected_picture_stems(prog, found, t)
        missing = [s for s in expected if s not in stems]
        sets.append({'t': t, 'm': montages, 's': singles, 'p': partial, 'x': missing,
                     'last': t >= latest and not finished})
    return sets


def _duration(seconds):
    seconds = int(seconds)
    return '%dh%02dm%02ds' % (seconds // 3600, seconds // 60 % 60, seconds % 60)


def _record_value(key, value):
    if key == 'command' and isinstance(value, list):
        return shlex.join(str(v) for v in value)
    if key == 'wall_seconds' and isinstance(value, (int, float)) and not isinstance(value, bool):
        return '%s (%s)' % (value, _duration(value))
    if isinstance(value, (dict, list)):
        return json.dumps(value)
    return str(value)


RECORD_KEYS = ('program', 'version', 'command', 'threads', 'steps_requested', 'steps_done',
               'time', 'state', 'wall_seconds', 'failed_files')


def _record_rows(record):
    rows = []
    for key in RECORD_KEYS:
        if key in record:
            rows.append((key, _record_value(key, record[key])))
    for key in record:
        if key not in RECORD_KEYS and key != 'history':
            rows.append((key, _record_value(key, record[key])))
    return rows


def _record_html(record, record_error):
    if record_error:
        return '<div class="box"><h3>Run record</h3><p class="bad">%s</p></div>' % esc(record_error)
    if record is None:
        return ('<div class="box"><h3>Run record</h3><p class="muted">no run.json in the '
                'directory</p></div>')
    state = record.get('state')
    cls = {'finished': 'ok', 'running': 'warn'}.get(state, 'bad' if state else '')
    out = ['<div class="box"><h3>Run record (run.json)</h3><table class="kv">']
    for key, value in _record_rows(record):
        attr = ''
        if key == 'state' and cls:
            attr = ' class="%s"' % cls
        elif key == 'failed_files' and record[key]:
            attr = ' class="bad"'
        out.append('<tr><th>%s</th><td%s>%s</td></tr>' % (esc(key), attr, esc(value)))
    out.append('</table>')
    history = record.get('history')
    if isinstance(history, list) and history:
        out.append('<h3 style="margin-top:10px">Earlier segments</h3><table class="kv">')
        keys = [k for k in RECORD_KEYS if any(isinstance(h, dict) and k in h for h in history)]
        out.append('<tr><th>#</th>%s</tr>' % ''.join('<th>%s</th>' % esc(k) for k in keys))
        for n, seg in enumerate(history, 1):
            if not isinstance(seg, dict):
                out.append('<tr><td>%d</td><td colspan="%d">%s</td></tr>'
                           % (n, max(1, len(keys)), esc(json.dumps(seg))))
                continue
            out.append('<tr><td>%d</td>%s</tr>' % (n, ''.join(
                '<td>%s</td>' % esc(_record_value(k, seg[k]) if k in seg else '') for k in keys)))
        out.append('</table>')
    out.append('</div>')
    return '\n'.join(out)


def _summary_html(directory, found, prog, latest, gallery_sets, record):
    rows = [('directory', directory)]
    if prog:
        how = 'from run.json' if record and record.get('program') == prog.name else 'from the file names'
        rows.append(('program', '%s (%s)' % (prog.label, how)))
    else:
        rows.append(('program', 'not recognised: no check of missing files'))
    rows.append(('latest time', '%g' % latest))
    if gallery_sets:
        rows.append(('picture sets', '%d (time %d to %d)' % (len(gallery_sets), gallery_sets[0]['t'],
                                                              gallery_sets[-1]['t'])))
    if found.profiles:
        times = sorted({t for p in found.profiles.values() for t in p.times})
        rows.append(('profile times', '%d (time %d to %d)' % (len(times), times[0], times[-1])))
    if found.tracks:
        rows.append(('space-time tracks', str(len(found.tracks))))
    if found.points:
        rows.append(('point histories', str(len(found.points))))
    if found.trackcells:
        rows.append(('tracked cells', str(len(found.trackcells))))
    if found.dumps:
        rows.append(('plant dumps', ', '.join('%d' % t for t in sorted(found.dumps))))
    if found.other:
        rows.append(('other files', '%d (%s)' % (len(found.other), ', '.join(
            sorted(i.name for i in found.other)[:8]) + (', ...' if len(found.other) > 8 else ''))))
    rows.append(('report written', datetime.datetime.now().strftime('%Y-%m-%d %H:%M:%S')))
    out = ['<div class="box"><h3>Run</h3><table class="kv">']
    for k, v in rows:
        out.append('<tr><th>%s</th><td>%s</td></tr>' % (esc(k), esc(v)))
    out.append('</table></div>')
    return '\n'.join(out)


def _checks_html(checks, prog, latest):
    out = ['<div class="box"><h3>Files</h3>']
    if prog is None:
        out.append('<p class="muted">the program is not known, so no list of expected files</p>')
    elif not checks:
        out.append('<p class="ok">every file expected by time %g is there and not empty</p>' % latest)
    for heading, names in checks:
        cls = 'warn' if heading.startswith('empty') else 'bad'
        out.append('<details%s><summary class="%s">%s (%d)</summary>%s</details>' % (
            ' open' if len(names) <= 12 else '', cls, esc(heading), len(names),
            ' '.join('<code>%s</code>' % esc(n) for n in names)))
    out.append('</div>')
    return '\n'.join(out)


def _figure_html(item, fig_dir):
    if item.error:
        body = '<div class="failed">not drawn: %s</div>' % esc(item.error)
    else:
        body = '<img src="%s/%s?v=%s" alt="%s">' % (esc(fig_dir), esc(item.fid), item.sig[:10],
                                                     esc(item.title))
    return '<figure id="%s">%s<figcaption>%s</figcaption></figure>' % (
        esc(item.fid.rsplit('.', 1)[0]), body, esc(item.caption))


def render(directory, found, record, record_error, prog, latest, checks, items, gallery, fig_dir):
    by_section = {}
    for item in items:
        by_section.setdefault(item.section, []).append(item)
    present = [(key, title) for key, title in SECTIONS if key in by_section]
    nav = ['<a href="#run">Run</a>'] + ['<a href="#%s">%s</a>' % (k, esc(t)) for k, t in present]
    if gallery:
        nav.append('<a href="#pictures">Pictures</a>')

    out = ['<!DOCTYPE html>', '<html lang="en"><head><meta charset="utf-8">',
           '<meta name="viewport" content="width=device-width, initial-scale=1">',
           '<title>rootsim report: %s</title>' % esc(directory),
           '<style>%s</style></head><body>' % STYLE,
           '<header><h1>rootsim report</h1><div class="dir">%s &middot; time %g</div></header>'
           % (esc(directory), latest),
           '<nav>%s</nav><main>' % ''.join(nav),
           '<section id="run"><h2>Run</h2><div class="summary">',
           _summary_html(directory, found, prog, latest, gallery, record),
           _record_html(record, record_error),
           _checks_html(checks, prog, latest),
           '</div></section>']
    for key, title in present:
        out.append('<section id="%s"><h2>%s</h2>' % (key, esc(title)))
        if key in TABBED and len(by_section[key]) > 1:
            out.append('<div class="tabs" data-for="%s-figs" style="display:none">%s</div>' % (
                key, ''.join('<button type="button">%s</button>' % esc(sp.title.split(' (')[0])
                             for sp in by_section[key])))
        out.append('<div class="figs" id="%s-figs">' % key)
        out.extend(_figure_html(item, fig_dir) for item in by_section[key])
        out.append('</div></section>')
    out.append('<script>%s</script>' % TABS_SCRIPT)
    if gallery:
        out.append('<section id="pictures"><h2>Pictures</h2>')
        out.append('<div class="controls"><button id="prev" title="earlier (left arrow)">&#9664;</button>'
                   '<input type="range" id="time-slider" min="0" max="0" value="0">'
                   '<button id="next" title="later (right arrow)">&#9654;</button>'
                   '<span id="time-label"></span>'
                   '<span class="muted">keys: &larr; &rarr;; click a picture for full size</span></div>')
        out.append('<div class="times" id="time-list"></div><div id="set-notes"></div>')
        out.append('<div class="montages" id="montages"></div><div class="singles" id="singles"></div>')
        out.append('<noscript>%s</noscript>' % _gallery_links(gallery))
        out.append('<script type="application/json" id="picture-sets">%s</script>'
                   % json.dumps(gallery).replace('</', '<\\/'))
        out.append('<script>%s</script>' % SCRIPT)
        out.append('</section>')
    out.append('</main></body></html>')
    return '\n'.join(out)


def _gallery_links(gallery):
    """Without a script: every picture as a plain link, by time."""
    out = []
    for s in gallery:
        links = ' '.join('<a href="../%s">%s</a>' % (esc(p[1]), esc(p[0])) for p in s['m'] + s['s'])
        out.append('<p>time %d: %s</p>' % (s['t'], links))
    return '\n'.join(out)
