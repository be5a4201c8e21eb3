"""The figures of a report.  Each draw_* function reads its own files (so
that figures can be drawn in parallel worker processes) and writes one PNG."""

import math
import os

import numpy as np
import matplotlib
matplotlib.use('Agg')
from matplotlib.backends.backend_agg import FigureCanvasAgg  # noqa: E402
from matplotlib.cm import ScalarMappable  # noqa: E402
from matplotlib.collections import LineCollection  # noqa: E402
from matplotlib.colors import BoundaryNorm, ListedColormap, LogNorm, Normalize  # noqa: E402
from matplotlib.figure import Figure  # noqa: E402

from . import files  # noqa: E402

DPI = 80
TIME_LABEL = 'time (time units)'
ROW_LABEL = 'grid row (0 = tip end)'

# Columns of a point history after the time.
POINT_QUANTITIES = ('MeanCells (mean auxin)', 'ARF', 'AA', 'BB', 'CC', 'DD', 'min(ARF, DD)',
                    'Plts', 'Pltsexpr', 'Diff', 'ARR1', 'ARR12', 'Yuc3')

ZONATION = ((0, 'tip', '#4b4b4b'), (30, 'dividing', '#2166ac'), (50, 'transition', '#67a9cf'),
            (60, 'elongating', '#fdb863'), (100, 'differentiated', '#d6604d'),
            (200, 'mature', '#67001f'))

# What the space-time tracks hold: name -> (quantity, tissue file).
TRACKS = {
    'TrackAuxinSpaceTime': ('MeanCells (mean auxin)', 'epidermis'),
    'TrackAuxCorinSpaceTime': ('MeanCells (mean auxin)', 'cortex'),
    'TrackAuxendoinSpaceTime': ('MeanCells (mean auxin)', 'endodermis'),
    'TrackAuxperiinSpaceTime': ('MeanCells (mean auxin)', 'pericycle'),
    'TrackAuxsidevascinSpaceTime': ('MeanCells (mean auxin)', 'outer vascular file'),
    'TrackAuxmidvascinSpaceTime': ('MeanCells (mean auxin)', 'middle vascular file'),
    'TrackARR1sexpinSpaceTime': ('ARR1', 'epidermis'),
    'TrackARR12sexpinSpaceTime': ('ARR12', 'epidermis'),
    'TrackARR1seffinSpaceTime': ('ARR1RGA', 'epidermis'),
    'TrackARR1vascexpinSpaceTime': ('mean ARR1', 'outer vascular file'),
    'TrackARR12vascexpinSpaceTime': ('mean ARR12', 'outer vascular file'),
    'TrackARR1vasceffinSpaceTime': ('mean ARR1RGA', 'outer vascular file'),
    'TrackPltsinSpaceTime': ('Plts', 'epidermis'),
    'TrackPltsexpinSpaceTime': ('Pltsexpr', 'epidermis'),
    'TrackPltscorinSpaceTime': ('Plts', 'cortex'),
    'TrackPltscorexpinSpaceTime': ('Pltsexpr', 'cortex'),
    'TrackPltsvascinSpaceTime': ('mean Plts', 'vasculature'),
    'TrackPltsvascexpinSpaceTime': ('mean Pltsexpr', 'vasculature'),
    'TrackPltsaverageinSpaceTime': ('mean Plts', 'all inner cells'),
    'TrackPltsaverageexpinSpaceTime': ('mean Pltsexpr', 'all inner cells'),
    'TrackCellTypeinSpaceTime': ('zonation state', 'epidermis'),
    'TrackdivTFinSpaceTime': ('divTF', 'epidermis'),
    'TrackelongTFinSpaceTime': ('elongTF', 'epidermis'),
    'TrackdivTFvascinSpaceTime': ('divTF', 'outer vascular file'),
    'TrackelongTFvascinSpaceTime': ('elongTF', 'outer vascular file'),
}


def track_description(name):
    quantity, tissue = TRACKS.get(name, (name, ''))
    return quantity, tissue


def _figure(width, height):
    fig = Figure(figsize=(width, height), dpi=DPI)
    FigureCanvasAgg(fig)
    return fig


def _save(fig, out):
    tmp = out + '.tmp.png'
    fig.savefig(tmp, dpi=DPI)
    os.replace(tmp, out)


def _labels(ax, title, ylabel=None, xlabel=None):
    """A panel's title and axis labels; the x axis is time unless said."""
    ax.set_title(title, fontsize=10)
    ax.set_xlabel(TIME_LABEL if xlabel is None else xlabel)
    if ylabel is not None:
        ax.set_ylabel(ylabel)


def _no_data(ax, what='no complete lines yet'):
    ax.text(0.5, 0.5, what, transform=ax.transAxes, ha='center', va='center', color='0.4')


def _positive_log(ax, values, axis='y'):
    """Log scale where the values are all positive and span two decades."""
    v = np.asarray(values, dtype=float)
    v = v[np.isfinite(v)]
    if v.size and v.min() > 0 and v.max() / v.min() > 100:
        (ax.set_yscale if axis == 'y' else ax.set_xscale)('log')


# --------------------------------------------------------------------------
# Time series

def draw_totals(out, auxin=None, plts=None):
    panels = []
    if auxin:
        a = files.time_series(auxin, 3)
        panels.append(('total auxin (sum of Caux1 over the grid)', a, 1))
    if plts:
        p = files.time_series(plts, 3)
        panels.append(('total PLETHORA (sum of Plts over cells)', p, 1))
        panels.append(('mean PLETHORA per cell (Plts)', p, 2))
    fig = _figure(4.2 * len(panels), 3.2)
    axes = fig.subplots(1, len(panels), squeeze=False)[0]
    for ax, (title, arr, col) in zip(axes, panels):
        _labels(ax, title)
        if arr.shape[0]:
            ax.plot(arr[:, 0], arr[:, col], lw=1.2)
        else:
            _no_data(ax)
        ax.grid(alpha=0.3)
    fig.tight_layout()
    _save(fig, out)


def draw_rootsize(out, size=None, number=None):
    panels = []
    if size:
        panels.append(('root length (rows of epidermis culled at the top)', files.time_series(size, 3), 'rows'))
    if number:
        panels.append(('epidermis cells culled at the top (count)', files.time_series(number, 3), 'cells'))
    fig = _figure(4.6 * len(panels), 3.2)
    axes = fig.subplots(1, len(panels), squeeze=False)[0]
    for ax, (title, arr, unit) in zip(axes, panels):
        _labels(ax, title, unit)
        if arr.shape[0]:
            ax.plot(arr[:, 0], arr[:, 1], lw=1.4, label='left')
            ax.plot(arr[:, 0], arr[:, 2], lw=1.2, ls='--', label='right')
            ax.legend(fontsize=8)
        else:
            _no_data(ax)
        ax.grid(alpha=0.3)
    fig.tight_layout()
    _save(fig, out)


def draw_shedding(out, path):
    arr = files.read_table(path)
    fig = _figure(4.6, 3.2)
    ax = fig.subplots()
    _labels(ax, 'lateral root cap cells shed (cumulative)', 'cells')
    if arr.shape[0] and arr.shape[1] >= 1:
        t = np.sort(arr[:, 0]) * 3600.0           # the file holds time / 3600
        ax.step(np.r_[t[0], t], np.r_[0, np.arange(1, len(t) + 1)], where='post')
    else:
        _no_data(ax, 'no cell shed yet')
    ax.grid(alpha=0.3)
    fig.tight_layout()
    _save(fig, out)


def draw_trackcells(out, paths):
    """Tracked cells: their middle row and mean auxin against time."""
    fig = _figure(9.2, 3.4)
    ax_pos, ax_aux = fig.subplots(1, 2)
    pos, aux = [], []
    for path in paths:
        arr = files.read_table(path, 8)
        if arr.shape[0]:
            pos.append(np.column_stack([arr[:, 0], arr[:, 5]]))
            aux.append(np.column_stack([arr[:, 0], arr[:, 2]]))
    cmap = matplotlib.colormaps['viridis']
    colours = [cmap(i / max(1, len(pos) - 1)) for i in range(len(pos))]
    for ax, segs, title, unit in ((ax_pos, pos, 'middle row of each tracked cell', 'grid row'),
                                  (ax_aux, aux, 'mean auxin of each tracked cell', 'MeanCells')):
        _labels(ax, title, unit)
        if segs:
            ax.add_collection(LineCollection(segs, colors=colours, linewidths=1))
            allv = np.concatenate(segs)
            ax.set_xlim(allv[:, 0].min(), max(allv[:, 0].max(), allv[:, 0].min() + 1))
            lo, hi = np.nanmin(allv[:, 1]), np.nanmax(allv[:, 1])
            pad = (hi - lo) * 0.05 or 1.0
            ax.set_ylim(lo - pad, hi + pad)
        else:
            _no_data(ax)
        ax.grid(alpha=0.3)
    fig.tight_layout()
    _save(fig, out)


def draw_extra(out, path):
    """The older programs' extra measurements: root cap top and cell heights."""
    arr = files.time_series(path)
    fig = _figure(9.2, 3.2)
    ax_top, ax_h = fig.subplots(1, 2)
    _labels(ax_top, 'top of the lateral root cap', 'grid row')
    _labels(ax_h, 'mean height of 16 cells around row 212', 'rows')
    for ax in (ax_top, ax_h):
        ax.grid(alpha=0.3)
    if arr.shape[0] and arr.shape[1] >= 23:
        ax_top.plot(arr[:, 0], arr[:, 1])
        ax_h.plot(arr[:, 0], arr[:, 9], label='column 83')
        ax_h.plot(arr[:, 0], arr[:, 22], ls='--', label='column 92')
        ax_h.legend(fontsize=8)
    else:
        _no_data(ax_top)
        _no_data(ax_h)
    fig.tight_layout()
    _save(fig, out)


def draw_points(out, quantity, panels):
    """One quantity of the point histories: one panel per probe column, one
    line per probe row.  panels: [(title, [(row, path)])]."""
    fig = _figure(3.6 * len(panels) + 1.2, 3.2)
    axes = fig.subplots(1, len(panels), squeeze=False)[0]
    rows_all = [r for _, probes in panels for r, _ in probes]
    norm = Normalize(min(rows_all), max(max(rows_all), min(rows_all) + 1))
    cmap = matplotlib.colormaps['viridis']
    for ax, (title, probes) in zip(axes, panels):
        _labels(ax, title)
        drawn = False
        for row, path in probes:
            arr = files.time_series(path, 14)
            if arr.shape[0]:
                ax.plot(arr[:, 0], arr[:, quantity + 1], color=cmap(norm(row)), lw=1.1,
                        marker='.' if arr.shape[0] < 30 else None)
                drawn = True
        if not drawn:
            _no_data(ax)
        ax.grid(alpha=0.3)
    axes[0].set_ylabel(POINT_QUANTITIES[quantity])
    fig.subplots_adjust(left=0.07, right=0.9, bottom=0.17, top=0.84, wspace=0.3)
    bar = fig.colorbar(ScalarMappable(norm, cmap), ax=list(axes), pad=0.02, fraction=0.04)
    bar.set_label('probe row')
    fig.suptitle(POINT_QUANTITIES[quantity], fontsize=11, x=0.02, ha='left')
    _save(fig, out)


# --------------------------------------------------------------------------
# Kymographs

def _fill_column(rows, values, grid_rows, default_height):
    """The values of one block on the given grid rows: a value holds from its
    row up to the next row of the block (a cell is written at its lowest
    row), the last one for default_height rows."""
    col = np.full(grid_rows.shape, np.nan)
    if rows.size == 0:
        return col
    order = np.argsort(rows, kind='stable')
    r, v = rows[order], values[order]
    idx = np.searchsorted(r, grid_rows, side='right') - 1
    inside = idx >= 0
    top = np.r_[r[1:], r[-1] + default_height]
    inside &= grid_rows < top[np.clip(idx, 0, None)]
    col[inside] = v[idx[inside]]
    return col


def draw_kymograph(out, name, path):
    track = files.read_track(path)
    quantity, tissue = track_description(name)
    fig = _figure(4.8, 3.8)
    ax = fig.subplots()
    _labels(ax, '%s - %s' % (quantity, tissue) if tissue else name, ROW_LABEL)
    nonempty = [t for t in track.times if track.blocks[t][0].size]
    if not nonempty:
        _no_data(ax, 'no complete block yet')
        fig.tight_layout()
        _save(fig, out)
        return
    all_rows = np.concatenate([track.blocks[t][0] for t in nonempty])
    gaps = np.concatenate([np.diff(np.sort(track.blocks[t][0])) for t in nonempty])
    height = float(np.median(gaps)) if gaps.size else 1.0
    height = max(1.0, height)
    r0, r1 = int(all_rows.min()), int(math.ceil(all_rows.max() + height))
    grid_rows = np.arange(r0, r1)
    times = np.array(track.times, dtype=float)
    image = np.column_stack([_fill_column(*track.blocks[t], grid_rows, height) for t in track.times])
    finite = image[np.isfinite(image)]

    if 'CellType' in name:
        states = [s for s, _, _ in ZONATION]
        cmap = ListedColormap([c for _, _, c in ZONATION])
        bounds = [-1, 15, 40, 55, 80, 150, 250]
        norm = BoundaryNorm(bounds, cmap.N)
    else:
        cmap = matplotlib.colormaps['viridis']
        cmap = cmap.with_extremes(bad='white')
        if finite.size and finite.min() > 0 and finite.max() / finite.min() > 50:
            norm = LogNorm(finite.min(), finite.max())
        elif finite.size:
            lo, hi = float(finite.min()), float(finite.max())
            norm = Normalize(lo, hi if hi > lo else lo + 1)
        else:
            norm = Normalize(0, 1)
    masked = np.ma.masked_invalid(image)
    if len(times) > 1:
        steps = np.diff(times)
    else:
        steps = np.array([600.0])
    if np.allclose(steps, steps[0]):
        half = steps[0] / 2
        mappable = ax.imshow(masked, origin='lower', aspect='auto', interpolation='nearest',
                             cmap=cmap, norm=norm,
                             extent=(times[0] - half, times[-1] + half, r0 - 0.5, r1 - 0.5))
    else:
        mids = (times[1:] + times[:-1]) / 2
        edges = np.r_[times[0] - steps[0] / 2, mids, times[-1] + steps[-1] / 2]
        mappable = ax.pcolormesh(edges, np.arange(r0, r1 + 1) - 0.5, masked, cmap=cmap, norm=norm,
                                 shading='flat')
    bar = fig.colorbar(mappable, ax=ax, pad=0.02)
    if 'CellType' in name:
        bar.set_ticks([(bounds[i] + bounds[i + 1]) / 2 for i in range(len(states))])
        bar.set_ticklabels(['%d %s' % (s, w) for s, w, _ in ZONATION])
        bar.ax.tick_params(labelsize=7)
    bar.set_label(quantity)
    fig.tight_layout()
    _save(fig, out)


# --------------------------------------------------------------------------
# Profiles along the root

def _grid_profile(path):
    """Rows and (auxin, PIN1 membrane, AUX1 membrane) of a grid-resolution
    profile: the body section at its fixed column, and the tip section for
    the rows below it."""
    groups = files.read_table_groups(path)
    parts = []
    body = groups.get(6)
    if body is not None and body.shape[0]:
        parts.append(body[:, 2:6])
    tip = groups.get(9)
    if tip is not None and tip.shape[0]:
        below = tip[:, 2] < (body[:, 2].min() if body is not None and body.shape[0] else np.inf)
        parts.append(tip[below, 2:6])
    if not parts:
        return np.zeros((0, 4))
    arr = np.vstack(parts)
    _, first = np.unique(arr[:, 0], return_index=True)
    return arr[np.sort(first)][np.argsort(arr[np.sort(first), 0], kind='stable')]


def _cell_profile(path):
    """Rows and (MeanCells, Plts, Pltsexpr) of a cell-resolution profile;
    rows outside the root (marked -10) are left out."""
    arr = files.read_table(path, 11)
    if not arr.shape[0]:
        return np.zeros((0, 4))
    arr = arr[arr[:, 1] != -10]
    return arr[:, [0, 1, 7, 8]][np.argsort(arr[:, 0], kind='stable')]


def _other_profile(path):
    """A profile of an unknown layout: position in the first column, values
    in the next ones."""
    arr = files.read_table(path)
    if arr.ndim != 2 or arr.shape[0] == 0 or arr.shape[1] < 2:
        return np.zeros((0, 2))
    return arr[np.argsort(arr[:, 0], kind='stable')][:, :4]


PROFILE_KINDS = {
    'grid': (_grid_profile, ('auxin (Caux1)', 'PIN1 on the membrane (Cpin1M)', 'AUX1 on the membrane (Aux1M)'),
             ROW_LABEL),
    'cell': (_cell_profile, ('MeanCells (mean auxin)', 'Plts', 'Pltsexpr'), ROW_LABEL),
    'other': (_other_profile, ('column 2', 'column 3', 'column 4'), 'column 1'),
}


def draw_profile(out, kind, label, series):
    """Left and right halves overlaid at a few times, and their difference.
    series: [(time, left path or None, right path or None)], oldest first."""
    reader, names, xlabel = PROFILE_KINDS[kind]
    data = [(t, reader(lp) if lp else None, reader(rp) if rp else None) for t, lp, rp in series]
    width = max((a.shape[1] for _, l, r in data for a in (l, r) if a is not None), default=2)
    nvals = max(1, min(len(names), width - 1))
    fig = _figure(3.3 * (nvals + 1), 3.3)
    axes = fig.subplots(1, nvals + 1)
    cmap = matplotlib.colormaps['plasma']
    n = len(data)
    for i, (t, left, right) in enumerate(data):
        colour = cmap(0.85 * i / max(1, n - 1)) if n > 1 else cmap(0.0)
        lw = 1.6 if i == n - 1 else 1.0
        for v in range(nvals):
            ax = axes[v]
            for arr, ls, side in ((left, '-', 'L'), (right, '--', 'R')):
                if arr is not None and arr.shape[0] and arr.shape[1] > v + 1:
                    ax.plot(arr[:, 0], arr[:, v + 1], ls=ls, color=colour, lw=lw,
                            label='t=%d %s' % (t, side))
        if left is not None and right is not None and left.shape[0] and right.shape[0]:
            rows, li, ri = np.intersect1d(left[:, 0], right[:, 0], return_indices=True)
            axes[-1].plot(rows, left[li, 1] - right[ri, 1], color=colour, lw=lw, label='t=%d' % t)
    for v in range(nvals):
        ax = axes[v]
        _labels(ax, names[v], xlabel=xlabel)
        values = [a[:, v + 1] for _, l, r in data for a in (l, r)
                  if a is not None and a.shape[0] and a.shape[1] > v + 1]
        if values:
            if v == 0:
                _positive_log(ax, np.concatenate(values))
        else:
            _no_data(ax)
        ax.grid(alpha=0.3)
    axes[0].legend(fontsize=7, ncol=2)
    _labels(axes[-1], 'left - right: ' + names[0].split(' (')[0], xlabel=xlabel)
    axes[-1].axhline(0, color='0.5', lw=0.8)
    axes[-1].grid(alpha=0.3)
    if axes[-1].lines[1:]:
        axes[-1].legend(fontsize=7)
    fig.suptitle(label, fontsize=11, x=0.01, ha='left')
    fig.tight_layout()
    _save(fig, out)


DRAWERS = {
    'totals': draw_totals, 'rootsize': draw_rootsize, 'shedding': draw_shedding,
    'trackcells': draw_trackcells, 'extra': draw_extra, 'points': draw_points,
    'kymograph': draw_kymograph, 'profile': draw_profile,
}


def draw(task):
    """Draws one figure task (kind, output path, keyword arguments); returns
    None or the error message."""
    kind, out, kwargs = task
    try:
        DRAWERS[kind](out, **kwargs)
        return None
    except Exception as e:   # one bad file must not take the report down
        return '%s: %s: %s' % (os.path.basename(out), type(e).__name__, e)
