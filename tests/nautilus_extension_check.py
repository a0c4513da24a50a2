# SPDX-License-Identifier: MIT
# Loads the installed Nautilus extension against a stand-in for nautilus-python's modules and
# checks its menu: offered for local items only, named "Compute checksums with Rizodidiz", and
# starting the window on the selected paths. Usage: nautilus_extension_check.py EXTENSION
import importlib.util
import subprocess
import sys
import types


class MenuItem:
    def __init__(self, name, label, icon):
        self.name, self.label, self.icon = name, label, icon
        self.handlers = []

    def connect(self, signal, handler, *data):
        self.handlers.append((signal, handler, data))

    def activate(self):
        for signal, handler, data in self.handlers:
            if signal == "activate":
                handler(self, *data)


class Item:
    """A selected item; `path` is None for one with no local path (trash://, sftp://)."""

    def __init__(self, path):
        self.path = path

    def get_location(self):
        return types.SimpleNamespace(get_path=lambda: self.path)


repository = types.ModuleType("gi.repository")
repository.GObject = types.SimpleNamespace(GObject=type("GObject", (), {}))
repository.Nautilus = types.SimpleNamespace(MenuProvider=type("MenuProvider", (), {}),
                                            MenuItem=MenuItem)
sys.modules["gi"] = types.ModuleType("gi")
sys.modules["gi.repository"] = repository

started = []
subprocess.Popen = lambda args, **options: started.append((args, options))

spec = importlib.util.spec_from_file_location("rizodidiz_extension", sys.argv[1])
extension = importlib.util.module_from_spec(spec)
spec.loader.exec_module(extension)
providers = [cls for cls in vars(extension).values()
             if isinstance(cls, type) and issubclass(cls, repository.Nautilus.MenuProvider)]
assert len(providers) == 1, providers
menu = providers[0]()

selection = [Item("/data/-a.iso"), Item(None), Item("/data/folder")]
# Nautilus 43 and later call get_file_items(files), older ones get_file_items(window, files).
for args in ([selection], [object(), selection]):
    items = menu.get_file_items(*args)
    assert [item.label for item in items] == ["Compute checksums with Rizodidiz"], items
    assert not started, "the window started before the item was chosen"
    items[0].activate()
    assert len(started) == 1, started
    command, options = started.pop()
    assert command == ["rizodidiz", "--", "/data/-a.iso", "/data/folder"], command
    # The window outlives the file manager's own process group.
    assert options.get("start_new_session"), options
assert menu.get_file_items([Item(None)]) == [], "offered for items without a local path"
print("nautilus extension checked")
