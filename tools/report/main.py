"""rootsim-report DIR: writes DIR/report/index.html with its figures beside it.

Figures whose source files have not changed since the last report (same
names, sizes and modification times, same report code) are kept; the others
are drawn again, in parallel.
"""

import argparse
import hashlib
import json
import os
import sys
import time

from . import expect, figures, files, page

REPORT_DIR = 'report'
FIG_DIR = 'fig'
MANIFEST = 'manifest.json'
PROFILE_TIMES = 4       # latest time and up to three earlier ones


class FigureSpec:
    """One figure of the report: where it goes, what it shows, what it is
    drawn from."""

    def __init__(self, section, fid, title, caption, sources, kind, kwargs):
        self.section = section
        self.fid = fid                 # file name under report/fig
        self.title = title
        self.caption = caption
        self.sources = sources         # FileInfo list
        self.kind = kind
        self.kwargs = kwargs
        self.error = None
        self.drawn = False
        self.sig = None

    def signature(self, code):
        key = json.dumps([code, self.kind, sorted(s.signature() for s in self.sources),
                          _plain(self.kwargs)], sort_keys=True)
        return hashlib.sha1(key.encode()).hexdigest()


def _plain(kwargs):
    """kwargs without the directory part of paths, for the signature."""
    def strip(v):
        if isinstance(v, str) and os.sep in v:
            return os.path.basename(v)
        if isinstance(v, (list, tuple)):
            return [strip(x) for x in v]
        return v
    return {k: strip(v) for k, v in kwargs.items()}


def code_version():
    """A hash of the report's own code: a changed tool redraws everything."""
    h = hashlib.sha1()
    here = os.path.dirname(os.path.abspath(__file__))
    for name in sorted(os.listdir(here)):
        if name.endswith('.py'):
            with open(os.path.join(here, name), 'rb') as f:
                h.update(name.encode() + f.read())
    return h.hexdigest()


def pick_times(times, count=PROFILE_TIMES):
    """The latest time and up to count - 1 earlier ones spread evenly back
    to the first, oldest first."""
    times = sorted(times)
    if len(times) <= count:
        return times
    picks = {times[-1], times[0]}
    for k in range(1, count - 1):
        picks.add(times[round(k * (len(times) - 1) / (count - 1))])
    return sorted(picks)


def plan(found):
    """The figures of the report for the files found."""
    items = []
    s = found.series

    # Time series
    if 'Totalauxin' in s or 'Totalplts' in s:
        srcs = [s[n] for n in ('Totalauxin', 'Totalplts') if n in s]
        items.append(FigureSpec('series', 'series-totals.png', 'Totals',
                                'Total auxin over the grid (Totalauxin), total and mean PLETHORA over the cells (Totalplts).',
                                srcs, 'totals',
                                {'auxin': s['Totalauxin'].path if 'Totalauxin' in s else None,
                                 'plts': s['Totalplts'].path if 'Totalplts' in s else None}))
    if 'Tracktotalrootsize' in s or 'Tracktotalrootnumber' in s:
        srcs = [s[n] for n in ('Tracktotalrootsize', 'Tracktotalrootnumber') if n in s]
        items.append(FigureSpec('series', 'series-rootsize.png', 'Root size and cell counts',
                                'Accumulated root length and epidermis cell count, left and right '
                                '(Tracktotalrootsize, Tracktotalrootnumber).', srcs, 'rootsize',
                                {'size': s['Tracktotalrootsize'].path if 'Tracktotalrootsize' in s else None,
                                 'number': s['Tracktotalrootnumber'].path if 'Tracktotalrootnumber' in s else None}))
    if 'Lateralrootcapculling' in s:
        items.append(FigureSpec('series', 'series-shedding.png', 'Root cap shedding',
                                'Lateral root cap cells shed so far (Lateralrootcapculling).',
                                [s['Lateralrootcapculling']], 'shedding',
                                {'path': s['Lateralrootcapculling'].path}))
    if found.trackcells:
        ids = sorted(found.trackcells)
        items.append(FigureSpec('series', 'series-trackcells.png', 'Tracked cells',
                                'Cells tracked from the observation point: %d (TrackCell_%d .. TrackCell_%d).'
                                % (len(ids), ids[0], ids[-1]),
                                [found.trackcells[i] for i in ids], 'trackcells',
                                {'paths': [found.trackcells[i].path for i in ids]}))
    if 'ExtraMeasurements' in s:
        items.append(FigureSpec('series', 'series-extra.png', 'Extra measurements',
                                'Root cap top and cell heights (ExtraMeasurements).',
                                [s['ExtraMeasurements']], 'extra', {'path': s['ExtraMeasurements'].path}))

    # Point histories: one figure per quantity, one panel per probe column
    if found.points:
        columns = {}
        for kind, col, row, info in found.points:
            columns.setdefault((kind != 'Point', col), []).append((row, info))
        panels = []
        for (is_qc, col), probes in sorted(columns.items()):
            title = ('quiescent centre (column %d)' % col) if is_qc else ('probe column %d' % col)
            panels.append((title, sorted(probes, key=lambda p: p[0])))
        srcs = [p[3] for p in found.points]
        for q, name in enumerate(figures.POINT_QUANTITIES):
            items.append(FigureSpec('points', 'points-%02d.png' % q, name,
                                    'Point histories (TemporalDynamicsPoint, TemporalDynamicsQC): %s.' % name,
                                    srcs, 'points',
                                    {'quantity': q,
                                     'panels': [(t, [(r, i.path) for r, i in p]) for t, p in panels]}))

    # Kymographs
    order = {n: k for k, n in enumerate(expect.ROOTSIM_TRACKS)}
    for name in sorted(found.tracks, key=lambda n: (order.get(n, len(order)), n)):
        info = found.tracks[name]
        quantity, tissue = figures.track_description(name)
        items.append(FigureSpec('kymographs', 'kymo-%s.png' % name, name,
                                '%s along the root over time, %s (%s).' % (quantity, tissue, name)
                                if tissue else name, [info], 'kymograph', {'name': name, 'path': info.path}))

    # Profiles
    for key in sorted(found.profiles, key=_profile_order):
        prof = found.profiles[key]
        times = pick_times(prof.times)
        series, srcs = [], []
        for t in times:
            halves = prof.times[t]
            series.append((t, halves['L'].path if 'L' in halves else None,
                           halves['R'].path if 'R' in halves else None))
            srcs.extend(halves.values())
        names = sorted({i.name.rsplit('_time', 1)[0] for i in srcs})
        items.append(FigureSpec('profiles', 'profile-%s.png' % key, prof.label,
                                '%s at time %s; left half solid, right half dashed (%s).'
                                % (prof.label, ', '.join('%d' % t for t in times), ', '.join(names)),
                                srcs, 'profile', {'kind': prof.kind, 'label': prof.label, 'series': series}))
    return items


def _profile_order(key):
    tissues = list(expect.GRID_TISSUES) + list(expect.C_TISSUES)
    kind, tissue = key.split('_', 1)
    return ({'grid': 0, 'cell': 1}.get(kind, 2),
            tissues.index(tissue) if tissue in tissues else len(tissues), tissue)


def load_manifest(path):
    try:
        with open(path) as f:
            m = json.load(f)
        if isinstance(m, dict) and isinstance(m.get('figures'), dict):
            return m
    except (OSError, ValueError):
        pass
    return {'figures': {}}


def write_atomic(path, text):
    tmp = path + '.tmp'
    with open(tmp, 'w', encoding='utf-8') as f:
        f.write(text)
    os.replace(tmp, path)


def draw_all(tasks, jobs):
    if jobs <= 1 or len(tasks) <= 1:
        return [figures.draw(t) for t in tasks]
    import multiprocessing
    ctx = multiprocessing.get_context('fork')
    with ctx.Pool(min(jobs, len(tasks))) as pool:
        return pool.map(figures.draw, tasks, chunksize=1)


def build(directory, jobs=None, force=False, log=None):
    """Builds the report of a directory.  Returns a summary dict; raises
    ReportError when the directory is not a run's output."""
    started = time.monotonic()
    if not os.path.isdir(directory):
        raise ReportError('%s is not a directory' % directory)
    try:
        found = files.scan(directory)
    except OSError as e:
        raise ReportError('cannot list %s: %s' % (directory, e))
    if not found.recognised():
        raise ReportError('%s holds no rootsim output (no Totalauxin, space-time tracks, '
                          'profiles, pictures or run.json)' % directory)

    record, record_error = (None, None)
    if found.run_record:
        record, record_error = files.read_run_record(found.run_record)
    totals = files.time_series(found.series['Totalauxin'].path, 3) if 'Totalauxin' in found.series else None
    prog_name = expect.detect_program(found, record)
    prog = expect.program(prog_name) if prog_name else None
    latest = expect.latest_time(found, record, totals)
    finished = bool(record) and record.get('state') == 'finished'
    checks = expect.check(found, prog, latest, finished)

    out_dir = os.path.join(directory, REPORT_DIR)
    fig_dir = os.path.join(out_dir, FIG_DIR)
    try:
        os.makedirs(fig_dir, exist_ok=True)
    except OSError as e:
        raise ReportError('cannot create %s: %s' % (fig_dir, e))

    manifest_path = os.path.join(out_dir, MANIFEST)
    old = {} if force else load_manifest(manifest_path)['figures']
    code = code_version()
    items = plan(found)
    todo = []
    for item in items:
        item.sig = item.signature(code)
        if old.get(item.fid) == item.sig and os.path.exists(os.path.join(fig_dir, item.fid)):
            continue
        todo.append(item)
    # the slow ones first, so that the workers finish together
    todo.sort(key=lambda sp: {'kymograph': 0, 'profile': 1}.get(sp.kind, 2))
    results = draw_all([(sp.kind, os.path.join(fig_dir, sp.fid), sp.kwargs) for sp in todo],
                       jobs or os.cpu_count() or 1)
    for item, err in zip(todo, results):
        item.drawn = err is None
        item.error = err
        if err and log:
            log('figure not drawn: %s' % err)

    # Figures no longer in the report go.
    keep = {sp.fid for sp in items if not sp.error}
    for name in os.listdir(fig_dir):
        if name not in keep:
            try:
                os.remove(os.path.join(fig_dir, name))
            except OSError:
                pass

    gallery = page.gallery(found, prog, latest, finished)
    html = page.render(directory=os.path.abspath(directory), found=found, record=record,
                       record_error=record_error, prog=prog, latest=latest, checks=checks,
                       items=items, gallery=gallery, fig_dir=FIG_DIR)
    write_atomic(os.path.join(out_dir, 'index.html'), html)
    write_atomic(manifest_path, json.dumps(
        {'code': code, 'figures': {sp.fid: sp.sig for sp in items if not sp.error}}, indent=1))
    return {'index': os.path.join(out_dir, 'index.html'), 'figures': len(items),
            'drawn': sum(1 for sp in todo if sp.drawn), 'failed': sum(1 for sp in items if sp.error),
            'seconds': time.monotonic() - started}


class ReportError(Exception):
    pass


def main(argv=None):
    parser = argparse.ArgumentParser(
        prog='rootsim-report',
        description='Writes DIR/report/index.html: plots, kymographs, profiles and the picture '
                    'sets of a rootsim run (finished or still going).')
    parser.add_argument('directory', metavar='DIR', help='output directory of the run')
    parser.add_argument('-j', '--jobs', type=int, default=None,
                        help='processes drawing figures (default: all cores)')
    parser.add_argument('--force', action='store_true', help='draw every figure again')
    parser.add_argument('-q', '--quiet', action='store_true', help='print nothing on success')
    args = parser.parse_args(argv)

    def log(msg):
        print('rootsim-report: %s' % msg, file=sys.stderr)

    try:
        summary = build(args.directory, jobs=args.jobs, force=args.force, log=log)
    except ReportError as e:
        log(str(e))
        return 2
    if not args.quiet:
        print('%s: %d figures, %d drawn, %d kept%s (%.1f s)' % (
            summary['index'], summary['figures'], summary['drawn'],
            summary['figures'] - summary['drawn'] - summary['failed'],
            ', %d failed' % summary['failed'] if summary['failed'] else '', summary['seconds']))
    return 1 if summary['failed'] else 0
