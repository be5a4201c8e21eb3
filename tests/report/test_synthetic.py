"""rootsim-report on made-up output directories: the readers, the check of
expected files, and whole reports of finished, unfinished, older-program and
foreign directories."""

import json
import os
import shutil
import tempfile
import unittest

import numpy as np

import support
import synth
from report import expect, figures, files, main, page


class TempDir(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix='report-test-')
        self.addCleanup(shutil.rmtree, self.dir, True)

    def write(self, name, text, mode='w'):
        path = os.path.join(self.dir, name)
        with open(path, mode) as f:
            f.write(text)
        return path


class ReadingTest(TempDir):
    def test_tables_leave_out_the_line_being_written(self):
        path = self.write('Totalauxin', '20\t1.5\t2.5\n40\t3.5\t4.5\n60\t5')
        arr = files.read_table(path, 3)
        np.testing.assert_array_equal(arr, [[20, 1.5, 2.5], [40, 3.5, 4.5]])

    def test_tables_skip_damaged_lines_and_read_nan(self):
        path = self.write('T', '20\t1\t2\nxx\tyy\tzz\n40\tnan\t-nan\n60\t1\t2\t80\t3\n100\t7\t8\n')
        arr = files.read_table(path, 3)
        self.assertEqual(arr[:, 0].tolist(), [20, 40, 100])
        self.assertTrue(np.isnan(arr[1, 1]) and np.isnan(arr[1, 2]))

    def test_time_series_sorted_and_a_repeated_time_takes_the_last_line(self):
        # a second run appended into the same directory
        path = self.write('Totalplts', '20\t1\t1\n40\t2\t2\n60\t3\t3\n20\t10\t10\n40\t20\t20\n')
        arr = files.time_series(path, 3)
        self.assertEqual(arr[:, 0].tolist(), [20, 40, 60])
        self.assertEqual(arr[:, 1].tolist(), [10, 20, 3])

    def test_track_blocks_and_the_unfinished_last_block(self):
        path = self.write('TrackAuxinSpaceTime',
                          '600\t141\t1.0\n600\t150\t2.0\n\n'
                          '\n'                                   # a call that met no cell
                          '1200\t141\t3.0\n1200\t150\t4.0\n1200\t159\t5.0\n\n'
                          '600\t141\t9.0\n\n'                    # 600 again: the later block wins
                          '1800\t141\t6.0\n1800\t15')            # still being written
        track = files.read_track(path)
        self.assertEqual(track.times, [600.0, 1200.0])
        rows, values = track.blocks[1200.0]
        self.assertEqual(rows.tolist(), [141, 150, 159])
        self.assertEqual(values.tolist(), [3, 4, 5])
        self.assertEqual(track.blocks[600.0][1].tolist(), [9.0])

    def test_track_whose_only_block_is_unfinished_is_empty(self):
        path = self.write('TrackPltsinSpaceTime', '600\t141\t1.0\n600\t150\t2.0\n')
        self.assertEqual(files.read_track(path).times, [])

    def test_kymograph_column_holds_each_value_up_to_the_next_cell(self):
        grid = np.arange(145, 185)
        col = figures._fill_column(np.array([159.0, 150.0, 170.0]), np.array([2.0, 1.0, 3.0]), grid, 9)
        expected = np.full(grid.shape, np.nan)
        expected[(grid >= 150) & (grid < 159)] = 1
        expected[(grid >= 159) & (grid < 170)] = 2
        expected[(grid >= 170) & (grid < 179)] = 3
        np.testing.assert_array_equal(col, expected)

    def test_grid_profile_joins_tip_and_body_sections(self):
        tip = ''.join('30\t35\t%d\t%f\t0.5\t0.25\t150\t0\t1\n' % (r, 100 + r) for r in range(0, 20, 2))
        body = ''.join('30\t40\t%d\t%f\t1.5\t2.5\n' % (r, r) for r in range(8, 30))
        arr = figures._grid_profile(self.write('GridResolutionL_Epi_time3600', tip + body))
        self.assertEqual(arr[:, 0].tolist(), [0, 2, 4, 6] + list(range(8, 30)))
        self.assertEqual(arr[:4, 1].tolist(), [100, 102, 104, 106])       # tip section below the body
        self.assertEqual(arr[4:, 1].tolist(), list(range(8, 30)))         # body section where both are
        self.assertEqual(arr[5].tolist(), [9, 9, 1.5, 2.5])

    def test_cell_profile_leaves_out_points_outside_the_root(self):
        lines = ['%d\t%s\t%d\n' % (r, '\t'.join(['%f' % (r + k) for k in range(9)]), 7) for r in (3, 1)]
        lines.append('5\t%s\t-10\n' % '\t'.join(['-10.000000'] * 9))
        arr = figures._cell_profile(self.write('Spatialdynamics_epiL_time360', ''.join(lines)))
        self.assertEqual(arr.tolist(), [[1, 1, 7, 8], [3, 3, 9, 10]])

    def test_picture_complete_only_with_its_end(self):
        whole = synth.png(5, 7, 1)
        cases = {'a_00000000.png': whole, 'b_00000000.png': whole[:-5], 'c_00000000.png': b'',
                 'd_00000000.png': b'not a picture at all, just text'}
        for name, data in cases.items():
            self.write(name, data, 'wb')
        found = files.scan(self.dir)
        got = {stem: files.picture_complete(info) for stem, info in found.pictures[0].items()}
        self.assertEqual(got, {'a': True, 'b': False, 'c': False, 'd': False})

    def test_names_of_every_program_are_sorted_by_kind(self):
        names = ['Totalauxin', 'ExtraMeasurements2', 'run.json', 'TemporalDynamicsPoint93_149',
                 'TemporalDynamicsQC109_140', 'TrackAuxinSpaceTime', 'TrackCell_12',
                 'GridResolutionL_Epi_time3600', 'GridResolutionR_Epi_time3600',
                 'GridResolutionR_Epi_time7200', 'GridResolution_epiL_time360',
                 'Spatialdynamics_cortexR_time360', 'EpidermalGradLeft_time360',
                 'EpidermalGradRight_time360', 'GridResolution_j300_time360',
                 'DumpPlantStateAt0000050000', 'ARR1_and12_00003600.png', 'Combined_00000100.png',
                 'notes.txt', 'Aux_3600.png']
        for n in names:
            self.write(n, 'x')
        os.mkdir(os.path.join(self.dir, 'report'))
        self.write('report/Totalplts', 'x')
        found = files.scan(self.dir)
        self.assertEqual(sorted(found.series), ['ExtraMeasurements2', 'Totalauxin'])
        self.assertEqual(sorted((k, c, r) for k, c, r, _ in found.points), [('Point', 93, 149), ('QC', 109, 140)])
        self.assertEqual(list(found.tracks), ['TrackAuxinSpaceTime'])
        self.assertEqual(list(found.trackcells), [12])
        self.assertEqual(sorted(found.profiles), ['cell_cortex', 'grid_Epi', 'grid_epi', 'other_EpidermalGrad'])
        epi = found.profiles['grid_Epi'].times
        self.assertEqual({t: sorted(h) for t, h in epi.items()}, {3600: ['L', 'R'], 7200: ['R']})
        self.assertEqual(sorted(found.profiles['other_EpidermalGrad'].times[360]), ['L', 'R'])
        self.assertEqual([i.name for i in found.single_profiles], ['GridResolution_j300_time360'])
        self.assertEqual(list(found.dumps), [50000])
        self.assertEqual({t: sorted(s) for t, s in found.pictures.items()}, {3600: ['ARR1_and12'], 100: ['Combined']})
        self.assertEqual(sorted(i.name for i in found.other), ['Aux_3600.png', 'notes.txt'])
        self.assertIsNotNone(found.run_record)

    def test_profile_times_are_the_latest_and_a_spread_of_earlier_ones(self):
        times = list(range(3600, 108001, 3600))
        self.assertEqual(main.pick_times(times), [3600, 39600, 72000, 108000])
        self.assertEqual(main.pick_times([7200, 3600]), [3600, 7200])


class ExpectedFilesTest(TempDir):
    def setUp(self):
        super().setUp()
        self.total = synth.make(self.dir, steps=36000)      # up to time 7200

    def check(self, record=None):
        found = files.scan(self.dir)
        prog = expect.program(expect.detect_program(found, record))
        latest = expect.latest_time(found, record, files.time_series(found.series['Totalauxin'].path))
        return dict(expect.check(found, prog, latest, bool(record) and record.get('state') == 'finished'))

    def test_complete_directory_lacks_nothing(self):
        self.assertEqual(self.check(), {})

    def test_missing_and_empty_files_are_named(self):
        os.remove(os.path.join(self.dir, 'GridResolutionL_Epi_time3600'))
        os.remove(os.path.join(self.dir, 'TrackAuxinSpaceTime'))
        os.remove(os.path.join(self.dir, 'Plts2_00000100.png'))
        open(os.path.join(self.dir, 'Totalplts'), 'w').close()
        self.assertEqual(self.check(), {
            'missing files': ['TrackAuxinSpaceTime'],
            'missing at time 100': ['Plts2_00000100.png'],
            'missing at time 3600': ['GridResolutionL_Epi_time3600'],
            'empty files': ['Totalplts']})

    def test_latest_time_of_a_running_run_is_not_blamed(self):
        os.remove(os.path.join(self.dir, 'Aux_00007200.png'))
        os.remove(os.path.join(self.dir, 'GridResolutionR_Cort_time7200'))
        self.assertEqual(self.check({'state': 'running'}), {})
        self.assertEqual(self.check({'state': 'finished'}), {
            'missing at time 7200': ['GridResolutionR_Cort_time7200', 'Aux_00007200.png']})

    def test_program_from_the_names_or_the_run_record(self):
        found = files.scan(self.dir)
        self.assertEqual(expect.detect_program(found, None), 'rootsim')
        self.assertEqual(expect.detect_program(found, {'program': 'rootsim_b3'}), 'rootsim_b3')
        self.assertEqual(expect.detect_program(found, {'program': 'something else'}), 'rootsim')
        for program, detected in (('rootsim_b', 'rootsim_b'), ('rootsim_b3', 'rootsim_b3'),
                                  ('rootsim_c', 'rootsim_c')):
            d = os.path.join(self.dir, program)
            synth.make(d, 18000, program)
            found = files.scan(d)
            self.assertEqual(expect.detect_program(found, None), detected, program)
            # what the older programs write by time 3600 is all expected, nothing more
            prog = expect.program(detected)
            self.assertEqual(expect.check(found, prog, 3600, True), [], program)
            montages = [[m[0] for m in s['m']] for s in page.gallery(found, prog, 3600, True)]
            self.assertEqual(montages[-1], ['ABCD'] if program == 'rootsim_b3' else [], program)


# Two tracks stand for all where the test is not about their number.
FEW_TRACKS = ('TrackAuxinSpaceTime', 'TrackPltsaverageinSpaceTime')


class ReportTest(TempDir):
    RECORD = {'program': 'rootsim', 'version': '1.4-test', 'command': ['rootsim', '--steps', '36000', 'out dir'],
              'threads': 2, 'steps_requested': 36000, 'steps_done': 36000, 'time': 7200,
              'state': 'finished', 'wall_seconds': 3725.5, 'failed_files': [],
              'history': [{'steps_done': 18000, 'time': 3600, 'state': 'interrupted', 'wall_seconds': 99}]}

    def report(self, *args, ok=True):
        proc = support.run_tool(self.dir, *args)
        if ok:
            self.assertEqual(proc.returncode, 0, proc.stderr)
        return proc

    def assert_page_has(self, text, page, present=True):
        if (text in page) != present:
            self.fail('%r %s the page' % (text, 'not in' if present else 'in'))

    def assert_images_exist(self):
        """Every img of the page and every picture of the gallery is a file."""
        page = support.report_page(self.dir)
        srcs = support.figure_files(self.dir)
        self.assertTrue(srcs)
        for path in srcs:
            self.assertTrue(os.path.getsize(path) > 1000, path)
        for s in support.gallery_of(page):
            for stem, name in s['m'] + s['s']:
                path = os.path.join(self.dir, name)
                self.assertTrue(files.picture_complete(files.FileInfo(name, path, os.path.getsize(path), 0)))
                self.assertTrue(name.startswith(stem + '_'))
        return page

    def test_finished_run_with_its_record(self):
        synth.make(self.dir, 36000, record=self.RECORD)
        proc = self.report()
        self.assertIn('49 figures, 49 drawn', proc.stdout)
        page = self.assert_images_exist()
        figs = sorted(os.listdir(os.path.join(self.dir, 'report', 'fig')))
        self.assertEqual(len([f for f in figs if f.startswith('kymo-')]), 25)
        self.assertEqual(len([f for f in figs if f.startswith('points-')]), 13)
        self.assertEqual(len([f for f in figs if f.startswith('profile-grid_')]), 8)
        for text in ('1.4-test', 'rootsim --steps 36000 &#x27;out dir&#x27;', '1h02m05s', 'interrupted',
                     'every file expected by time 7200'):
            self.assert_page_has(text, page)
        gallery = support.gallery_of(page)
        self.assertEqual([s['t'] for s in gallery], [0, 100, 3600, 7200])
        for s in gallery:
            self.assertEqual([m[0] for m in s['m']], ['ABCD', 'Pltscombo', 'Combined'])
            self.assertEqual(len(s['s']), 37)
            self.assertEqual((s['p'], s['x']), ([], []))

    def test_point_histories_have_a_panel_per_probe_column(self):
        synth.make(self.dir, 36000, pictures=False)
        items = [sp for sp in main.plan(files.scan(self.dir)) if sp.kind == 'points']
        self.assertEqual(len(items), len(figures.POINT_QUANTITIES))
        panels = items[0].kwargs['panels']
        self.assertEqual([p[0] for p in panels], ['probe column 84', 'probe column 93',
                                                   'quiescent centre (column 109)'])
        self.assertEqual([len(p[1]) for p in panels], [16, 16, 1])
        self.assertEqual([r for r, _ in panels[0][1]], sorted(synth.PROBE_ROWS))

    def test_run_still_going(self):
        total = synth.make(self.dir, 36000, partial=True, tracks=FEW_TRACKS)
        proc = self.report()
        self.assertIn('26 figures, 26 drawn', proc.stdout)
        page = self.assert_images_exist()
        last = support.gallery_of(page)[-1]
        self.assertEqual(last['t'], total)
        self.assertTrue(last['last'])
        self.assertEqual(last['p'], ['Priming'])                      # cut short: not shown
        self.assertEqual(len(last['m']) + len(last['s']), 10)
        self.assertIn('Combined', last['x'])
        self.assertNotIn('Priming_%08d.png' % total, json.dumps(last['m'] + last['s']))
        # nothing at the latest time is called missing while the run goes on
        self.assert_page_has('missing files (23)', page)             # the tracks not made up
        self.assert_page_has('missing at time', page, False)

    def test_older_programs(self):
        for program, figs in (('rootsim_b', ['series-extra.png', 'series-shedding.png', 'profile-grid_Epi.png']),
                              ('rootsim_c', ['profile-grid_epi.png', 'profile-cell_vasc.png',
                                             'profile-other_EpidermalGrad.png', 'points-00.png'])):
            with self.subTest(program=program):
                shutil.rmtree(self.dir)
                synth.make(self.dir, 36000, program)
                self.report()
                page = self.assert_images_exist()
                made = os.listdir(os.path.join(self.dir, 'report', 'fig'))
                for f in figs:
                    self.assertIn(f, made)
                self.assertFalse(any(f.startswith('kymo-') for f in made))
                self.assert_page_has('every file expected by time 7200', page)
                gallery = support.gallery_of(page)
                if program == 'rootsim_c':
                    self.assertEqual(gallery[0]['t'], 0)
                    self.assertEqual([p[0] for p in gallery[0]['s']], ['Aux'])
                    self.assertEqual(len(gallery), 21)

    def test_directories_without_a_run_are_refused(self):
        empty = os.path.join(self.dir, 'empty')
        foreign = os.path.join(self.dir, 'foreign')
        os.mkdir(empty)
        os.makedirs(os.path.join(foreign, 'sub'))
        for name in ('README', 'data.csv', 'photo.png', 'sub/Totalauxin'):
            with open(os.path.join(foreign, name), 'w') as f:
                f.write('1\t2\t3\n')
        for d, words in ((empty, 'holds no rootsim output'), (foreign, 'holds no rootsim output'),
                         (os.path.join(self.dir, 'absent'), 'is not a directory')):
            proc = support.run_tool(d)
            self.assertEqual(proc.returncode, 2)
            self.assertIn(words, proc.stderr)
            self.assertFalse(os.path.exists(os.path.join(d, 'report')))

    def test_odd_run_records(self):
        synth.make(self.dir, 3000, pictures=False, tracks=())
        for text, shown in (('{"state": "runn', 'run.json cannot be read'),
                            ('[1, 2]', 'run.json does not hold an object'),
                            ('{"program": 5, "time": "soon", "history": "x", "state": "failed", "extra": {"a": 1}}',
                             '{&quot;a&quot;: 1}')):
            with self.subTest(record=text):
                self.write('run.json', text)
                self.report()
                self.assert_page_has(shown, support.report_page(self.dir))

    def test_second_report_draws_only_what_changed(self):
        synth.make(self.dir, 36000, tracks=FEW_TRACKS)
        self.report()
        fig_dir = os.path.join(self.dir, 'report', 'fig')
        before = {f: os.stat(os.path.join(fig_dir, f)).st_mtime_ns for f in os.listdir(fig_dir)}
        self.assertIn('0 drawn, 26 kept', self.report().stdout)

        with open(os.path.join(self.dir, 'TrackAuxinSpaceTime'), 'a') as f:
            f.write('7800\t141\t3.0\n7800\t150\t4.0\n\n')
        self.assertIn('1 drawn, 25 kept', self.report().stdout)
        after = {f: os.stat(os.path.join(fig_dir, f)).st_mtime_ns for f in os.listdir(fig_dir)}
        self.assertEqual([f for f in before if after[f] != before[f]], ['kymo-TrackAuxinSpaceTime.png'])

        # a source gone takes its figure with it
        for n in os.listdir(self.dir):
            if n.startswith('TrackCell_'):
                os.remove(os.path.join(self.dir, n))
        self.report()
        self.assertNotIn('series-trackcells.png', os.listdir(fig_dir))
        self.assert_page_has('series-trackcells.png', support.report_page(self.dir), False)
        self.assertIn('25 figures, 25 drawn', self.report('--force').stdout)


if __name__ == '__main__':
    unittest.main()
