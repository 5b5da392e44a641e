/* Padwright program following: tells Padwright, while it runs, which window has the focus and
 * which windows are open, over the session bus (org.padwright.Padwright,
 * /org/padwright/Padwright/Focus, org.padwright.Padwright.Focus). The same in both of GNOME Shell's
 * extension formats: the build puts it into each one's extension.js. Needs Gio, GLib and Shell. */

const SERVICE = 'org.padwright.Padwright';
const PATH = '/org/padwright/Padwright/Focus';
const IFACE = 'org.padwright.Padwright.Focus';

// App id, WM_CLASS class and instance, process id: what Padwright's rules match on.
function describe(window) {
    if (!window)
        return ['', '', '', 0];
    const app = Shell.WindowTracker.get_default().get_window_app(window);
    const id = app && app.get_id() ? app.get_id().replace(/\.desktop$/, '') : '';
    return [id, window.get_wm_class() || '', window.get_wm_class_instance() || '',
        Math.max(window.get_pid(), 0)];
}

class Reporter {
    enable() {
        this._present = false;
        this._handlers = [];
        // Only while Padwright runs: nothing is sent to a name nobody owns.
        this._watch = Gio.bus_watch_name(Gio.BusType.SESSION, SERVICE,
            Gio.BusNameWatcherFlags.NONE,
            () => {
                this._present = true;
                this._front();
                this._windows();
            },
            () => {
                this._present = false;
            });
        this._connect(global.display, 'notify::focus-window', () => this._front());
        this._connect(Shell.WindowTracker.get_default(), 'tracked-windows-changed',
            () => this._windows());
    }

    disable() {
        for (const [object, id] of this._handlers)
            object.disconnect(id);
        this._handlers = [];
        Gio.bus_unwatch_name(this._watch);
        this._watch = 0;
        this._present = false;
    }

    _connect(object, signal, handler) {
        this._handlers.push([object, object.connect(signal, handler)]);
    }

    _front() {
        this._send('Front', new GLib.Variant('(sssu)', describe(global.display.focus_window)));
    }

    _windows() {
        const fields = [];
        for (const window of global.display.list_all_windows()) {
            if (!window.is_skip_taskbar())
                fields.push(...describe(window).map(String));
        }
        this._send('Windows', new GLib.Variant('(as)', [fields]));
    }

    _send(method, parameters) {
        if (!this._present)
            return;
        Gio.DBus.session.call(SERVICE, PATH, IFACE, method, parameters, null,
            Gio.DBusCallFlags.NO_AUTO_START, -1, null, null);
    }
}
