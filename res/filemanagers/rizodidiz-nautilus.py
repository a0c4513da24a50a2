# SPDX-License-Identifier: MIT
# Nautilus (through nautilus-python) offers "Compute checksums with Rizodidiz" for the selected
# files and folders, which it hands to one new Rizodidiz window.
import subprocess

from gi.repository import GObject, Nautilus


class RizodidizMenu(GObject.GObject, Nautilus.MenuProvider):
    def _compute(self, _item, paths):
        # "--": a name starting with a dash is a file, not an option.
        subprocess.Popen(["rizodidiz", "--", *paths], start_new_session=True)

    # Nautilus 43 and later pass (files); older ones (window, files).
    def get_file_items(self, *args):
        paths = [f.get_location().get_path() for f in args[-1]]
        paths = [path for path in paths if path]
        if not paths:
            return []
        item = Nautilus.MenuItem(name="RizodidizMenu::Compute",
                                 label="Compute checksums with Rizodidiz", icon="rizodidiz")
        item.connect("activate", self._compute, paths)
        return [item]
