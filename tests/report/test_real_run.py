"""rootsim-report on the output of a short real run of rootsim (made by
real_run.py, named by ROOTSIM_REPORT_RUN), finished and as if still
writing; and the page of that report in headless Chromium."""

import os
import re
import shutil
import tempfile
import unittest

import numpy as np

import browser
import support
import synth

RUN = os.environ.get('ROOTSIM_REPORT_RUN')


def copy_of_run():
    """A copy of the shared run that a test may change."""
    if not RUN or not os.path.isdir(RUN):
        raise unittest.SkipTest('ROOTSIM_REPORT_RUN does not name the real run (ctest makes it)')
    d = os.path.join(tempfile.mkdtemp(prefix='report-real-'), 'run')
    shutil.copytree(RUN, d, ignore=shutil.ignore_patterns('report'))
    return d


class RealRunTest(unittest.TestCase):
    def setUp(self):
        self.dir = copy_of_run()
        self.addCleanup(shutil.rmtree, os.path.dirname(self.dir), True)

    def test_report_of_a_short_run(self):
        proc = support.run_tool(self.dir)
        self.assertEqual(proc.returncode, 0, proc.stderr)
        page = support.report_page(self.dir)
        for text in ('rootsim (from the file names)', 'every file expected by time 600 '):
            self.assertTrue(text in page, text)
        figs = sorted(os.listdir(os.path.join(self.dir, 'report', 'fig')))
        self.assertEqual(len([f for f in figs if f.startswith('kymo-Track')]), 25)
        self.assertIn('series-totals.png', figs)
        self.assertIn('series-rootsize.png', figs)
        for path in support.figure_files(self.dir):
            self.assertTrue(os.path.getsize(path) > 1000, path)
        # the picture sets of time 0 and 100, whole, as the program writes them
        gallery = support.gallery_of(page)
        self.assertEqual([s['t'] for s in gallery], [0, 100])
        for s in gallery:
            self.assertEqual([m[0] for m in s['m']], ['ABCD', 'Pltscombo', 'Combined'])
            self.assertEqual(len(s['s']), 37)
            self.assertEqual((s['p'], s['x']), ([], []))

    def test_run_caught_while_writing(self):
        with open(os.path.join(self.dir, 'Combined_00000100.png'), 'r+b') as f:
            f.truncate(f.seek(0, 2) // 2)
        os.remove(os.path.join(self.dir, 'ABCD_00000100.png'))
        with open(os.path.join(self.dir, 'Totalauxin'), 'a') as f:
            f.write('620\t5190')
        with open(os.path.join(self.dir, 'TrackAuxinSpaceTime'), 'a') as f:
            f.write('1200\t141\t91.4\n1200\t1')
        proc = support.run_tool(self.dir)
        self.assertEqual(proc.returncode, 0, proc.stderr)
        last = support.gallery_of(support.report_page(self.dir))[-1]
        self.assertEqual((last['t'], last['p'], last['x']), (100, ['Combined'], ['ABCD']))
        self.assertEqual([m[0] for m in last['m']], ['Pltscombo'])

    def test_every_file_cut_short(self):
        # files emptied, cut at a quarter, a half, three quarters, or left whole, in turn
        for k, name in enumerate(sorted(os.listdir(self.dir))):
            path = os.path.join(self.dir, name)
            with open(path, 'r+b') as f:
                f.truncate(os.path.getsize(path) * min(4, k % 5) // 4)
        proc = support.run_tool(self.dir)
        self.assertEqual(proc.returncode, 0, proc.stderr)
        page = support.report_page(self.dir)
        self.assertFalse('not drawn' in page or 'not drawn' in proc.stderr, proc.stderr)
        self.assertTrue('empty files' in page)
        for s in support.gallery_of(page):      # pictures cut short are not shown
            shown = [n[0] for n in s['m'] + s['s']]
            self.assertTrue(shown and s['p'])
            self.assertEqual(set(shown) & set(s['p']), set())
            self.assertEqual(len(shown) + len(s['p']), 40)


class BrowserTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = copy_of_run()
        proc = support.run_tool(cls.dir)
        assert proc.returncode == 0, proc.stderr
        cls.index = os.path.join(cls.dir, 'report', 'index.html')

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(os.path.dirname(cls.dir), True)

    def images(self, dom):
        self.assertTrue('data-checked=' in dom, 'the page never finished loading')
        return support.images_of(dom)

    def test_every_image_loads(self):
        images = self.images(browser.checked_dom(self.index))
        figures = [i for i in images if i['src'].startswith('fig/')]
        pictures = [i for i in images if i['src'].startswith('../')]
        self.assertEqual(len(figures), len(support.figure_files(self.dir)))
        self.assertEqual(len(pictures), 40)                   # the latest set: 3 montages, 37 pictures
        self.assertTrue(all('_00000100.png' in i['src'] for i in pictures))
        broken = [i['src'] for i in images if i.get('data-check') != 'loaded']
        self.assertEqual(broken, [])

    def test_every_section_loads_while_a_set_is_being_written(self):
        # made-up files with every kind of figure, and a picture set half written
        d = os.path.join(os.path.dirname(self.dir), 'synthetic')
        synth.make(d, 36000, partial=True, tracks=('TrackAuxinSpaceTime',))
        proc = support.run_tool(d)
        self.assertEqual(proc.returncode, 0, proc.stderr)
        images = self.images(browser.checked_dom(os.path.join(d, 'report', 'index.html')))
        sections = {i['src'].split('/')[1].split('-')[0] for i in images if i['src'].startswith('fig/')}
        self.assertEqual(sections, {'series', 'points', 'kymo', 'profile'})
        self.assertEqual(len([i for i in images if i['src'].startswith('../')]), 10)
        self.assertEqual([i['src'] for i in images if i.get('data-check') != 'loaded'], [])

    def test_address_picks_the_picture_set(self):
        dom = browser.checked_dom(self.index, '#t=0')
        pictures = [i for i in self.images(dom) if i['src'].startswith('../')]
        self.assertEqual(len(pictures), 40)
        self.assertTrue(all('_00000000.png' in i['src'] for i in pictures))
        label = re.search(r'id="time-label">([^<]*)<', dom)
        self.assertEqual(label.group(1) if label else None, 'time 0 (1 of 2)')

    def test_screenshot_is_the_page(self):
        import matplotlib.image
        out = browser.screenshot(self.index, os.path.join(os.path.dirname(self.dir), 'shot.png'))
        img = matplotlib.image.imread(out)[:, :, :3]
        self.assertEqual(img.shape[:2], (1600, 1280))
        pixels = np.round(img * 255).astype(np.int32)
        codes = pixels[..., 0] << 16 | pixels[..., 1] << 8 | pixels[..., 2]
        background = 0xfafafa
        self.assertGreater(np.mean(codes != background), 0.25)      # not a blank page
        self.assertGreater(len(np.unique(codes)), 200)              # plots, not flat boxes
        header = np.mean(codes[:30] == 0x20362b)                    # the styled header
        self.assertGreater(header, 0.5)


if __name__ == '__main__':
    unittest.main()
