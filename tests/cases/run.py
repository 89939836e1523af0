#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Runs golden cases against the real launcher on the X display of DISPLAY
(CTest gives each case file a private one with xvfb-run).

    run.py FILE.case [NAME...]        the cases of FILE (only those named, if any)

A case file holds cases; each begins with "case NAME" and gets a fresh work
folder $WORK holding the game directory $GAME and a home folder $HOME. Steps
come one per line; blank lines and lines starting with "#" are skipped. A step
that takes text is followed by its lines and a line holding only ".".

Laying out files (PATH is under $GAME; "~/" means $HOME; $WORK, $GAME, $HOME,
$DISPLAY, $ORVEK_BUILD and $ORVEK_SOURCE are expanded):
  file [-n] [-e] PATH + text   the text (-n: without its last line feed;
                               -e: escapes as in a Python bytes literal, \\t \\r
                               \\n \\0 \\\\ \\xHH)
  touch PATH...                empty files
  build FROM [TO]              a file of the build tree (TO defaults to FROM's name)
  source FROM [TO]             a file of the source tree
  copy FROM [TO]               a file beside the case file
  sh COMMAND                   a shell command in $GAME; it must succeed
  full                         $GAME moves to a file system with no room left
                               (a small tmpfs in a private mount namespace)
  use FILE                     the steps of FILE, beside the case file
  on CONDITION                 the next step only where CONDITION holds: a
                               platform, "sdl1" for SDL 1.2 itself or "sdl2" for
                               SDL 1.2 on SDL 2; a release such as "debian12"
                               (ID and VERSION_ID of /etc/os-release); or
                               NAME=VALUE, a setting of the build's CMake cache
Running (a case may run several times; each run sees the files of the last):
  start [as USER] [VAR=VALUE | -VAR]... COMMAND [ARG...]
                               COMMAND "launcher" is the build's launcher, run
                               in $GAME; any other command runs in $WORK. A
                               run as USER gets copies of what it needs from
                               the build and source trees, which that user may
                               not be able to enter: $ORVEK_BUILD names
                               $WORK/build, which holds the launcher, and the
                               sanitizers' suppression files are read from there
  dialog                       wait for the dialog and focus it
  message                      wait for the start script's message window (the
                               launcher's, titled "Orvek") and focus it
  capture                      wait for the console-key window; keys, hold and
                               close go to it until the next dialog
                               (dialog, message and capture set $WINDOW, also
                               in the environment of sh, to the window's id)
  keys KEY...  hold KEY...     keys as xdotool names them, pressed and released
                               or only pressed
  click NAME [ROW]             a click of the first button in the middle of the
  double-click NAME [ROW]      control that at-spi calls NAME (a list or a
  press NAME [ROW]             button) or of its row ROW; needs bus. press
  release NAME [ROW]           and release do half a click each (a drag)
  select NAME ROW              the row ROW of the list NAME selected through
                               at-spi, as a screen reader's user does; needs bus
  type TEXT                    text typed
  paste + text                 the text put on the clipboard, then Ctrl+V
  close                        ask the window to close, as a window manager does
  signal NAME                  send a signal to the started program
  heard WAV                    wait until the launch sound has played (SDL's disk
                               driver writing $WORK/heard.raw), then check what
                               the device got against WAV's samples (in the
                               device's own format: SDL 2 converts any other)
  snap NAME                    the window's picture against pictures/NAME.png, or
                               pictures/debianN/NAME.png on a release that has
                               that folder (fonts are drawn differently)
  bus                          the next runs get a session bus of the case's
                               own (and XDG_RUNTIME_DIR a private folder), on
                               which GTK's accessibility bridge, no longer
                               turned off, starts the accessibility bus
  wayland [xwayland]           the next runs on a headless Wayland compositor
                               (sway) of their own, with no DISPLAY or with
                               its XWayland's; as root, the compositor and
                               the runs are nobody's, who then owns $WORK and
                               gets a copy of a program outside it. dialog (which must
                               be a Wayland window, not XWayland's), capture,
                               keys and close then find windows through sway's IPC
                               and press keys on a keyboard of the
                               compositor's own (the virtual-keyboard protocol)
Checks, on the last run (a run's standard output must be checked):
  stdout + text   stderr + text   status N   expect [-n] [-e] PATH + text
  seen + text                   what a screen reader reads, through at-spi,
                                is text within the deadline: the four lists'
                                selected rows and the control with the focus
                                (accessibility/reader.py)
  absent PATH...                the files do not exist
  keep PATH...                  notes the files as they are now (checks nothing)
  unchanged PATH...             the files are the ones keep noted: the same file
                                (not a new one in its place), owner, group, mode
                                and bytes
  cpu N FACTOR                  this run took at most FACTOR times the CPU of run N
Standard error is compared with process ids, times and the work folder's
path taken out of it. Outputs and files are compared byte for byte, also
where they are not UTF-8 (stdout and stderr take -e and -n as file does).
"""
import codecs
import ctypes
import os
import platform
import pwd
import re
import shlex
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time
import wave

import i3ipc  # Debian's python3-i3ipc
import Xlib.display  # Debian's python3-xlib
import Xlib.protocol
import Xlib.X
import Xlib.XK

BUILD, SOURCE = os.environ.get("ORVEK_BUILD", ""), os.environ.get("ORVEK_SOURCE", "")
READER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "accessibility", "reader.py")
WAIT = float(os.environ.get("CASE_WAIT", "60"))
SNAP_SETTLE = 2.0
CAPTURE_TITLE = r"^Console Key \(ESC to cancel\)\?$"
# SDL 1.2.15 is the last SDL 1.2 itself; later 1.2 versions are sdl12-compat.
PLATFORM = "sdl1" if subprocess.run(["pkg-config", "--modversion", "sdl"], capture_output=True,
                                    text=True).stdout.strip() == "1.2.15" else "sdl2"
OS_RELEASE = platform.freedesktop_os_release()
RELEASE = OS_RELEASE.get("ID", "") + OS_RELEASE.get("VERSION_ID", "")
CACHE_FILE = os.path.join(BUILD, "CMakeCache.txt")
CACHE = dict(re.findall(r"^(\w+):\w+=(.*)$", open(CACHE_FILE).read() if os.path.exists(CACHE_FILE) else "",
                        re.M))


class Failure(Exception):
    """A step or check that did not hold: the case fails with this message."""


class Skip(Exception):
    """What this machine cannot do (no root, no private mounts): the case is skipped."""


def parse(path):
    """[(case name, [(line number, words, text or None)])] of a case file."""
    cases, lines, i = [("", [])], open(path, encoding="utf-8").read().split("\n"), 0
    while i < len(lines):
        number, line = i + 1, lines[i].strip()
        i += 1
        if not line or line.startswith("#"):
            continue
        verb, _, rest = line.partition(" ")
        if verb == "case":
            cases.append((rest, []))
            continue
        text = None
        if verb in ("file", "paste", "stdout", "stderr", "expect", "seen"):
            end = lines.index(".", i)
            text, i = "".join(line + "\n" for line in lines[i:end]), end + 1
        words = [verb] + ([rest] if verb in ("type", "sh") else shlex.split(rest))
        cases[-1][1].append((number, words, text))
    return cases if cases[0][1] else cases[1:]


def content(flags, text):
    """The bytes of a step's text: -e reads escapes, -n drops the last line feed."""
    data = codecs.escape_decode(text.encode())[0] if "-e" in flags else text.encode()
    return data[:-1] if "-n" in flags else data


def wait_for(what, condition):
    deadline = time.monotonic() + WAIT
    while not condition():
        if time.monotonic() > deadline:
            raise Failure(f"{what}: not within {WAIT:.0f} s")
        time.sleep(0.05)


def run(command, check=True, **options):
    """A helper program's result, within WAIT seconds; with check, it must succeed."""
    try:
        result = subprocess.run(command, capture_output=True, text=True, timeout=WAIT, **options)
    except subprocess.TimeoutExpired:
        raise Failure(f"{' '.join(command)}: no answer within {WAIT:.0f} s")
    if check and result.returncode != 0:
        raise Failure(f"{' '.join(command)}: {result.stdout.strip()} {result.stderr.strip()}")
    return result


def as_user(user):
    """The prefix that runs a command as `user` (a pwd entry), if any."""
    return ["setpriv", f"--reuid={user.pw_uid}", f"--regid={user.pw_gid}", "--init-groups"] if user else []


def stop(process, sent=signal.SIGTERM):
    """Ends a program that runs in a session of its own, and whatever it
    started: `sent` (if any) first, SIGKILL once WAIT seconds have passed."""
    try:
        if sent:
            os.killpg(process.pid, sent)
        process.wait(timeout=WAIT)
    except ProcessLookupError:
        pass
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()


def xdotool(*args, check=True):
    return run(["xdotool", *args], check).stdout.split()


def compare(what, expected, actual):
    if expected != actual:
        at = len(os.path.commonprefix([expected, actual]))
        cut = slice(max(0, at - 200), at + 200)  # long outputs: around the first difference
        raise Failure(f"{what} differs at {at}\n  expected: {expected[cut]!r}\n  actual:   {actual[cut]!r}")


class Keyboard:
    """A keyboard of the compositor's own (the virtual-keyboard protocol,
    spoken over the Wayland socket) with the standard US keymap, held for the
    compositor's whole life as a player's keyboard is. One keyboard for all
    keys matters: a keyboard that comes or goes makes the compositor take the
    focus from the window and give it back, which ends a button's press by
    Space half-way."""

    MODIFIERS = {"ctrl": Xlib.X.ControlMask, "alt": Xlib.X.Mod1Mask, "shift": Xlib.X.ShiftMask,
                 "super": Xlib.X.Mod4Mask}

    def __init__(self, socket_path):
        # The keymap is the X server's (Xvfb's standard US one) as xkbcomp
        # writes it: its modifiers are X's, and its key codes evdev's plus 8.
        self.display = Xlib.display.Display()
        self.text = run(["xkbcomp", "-xkb", os.environ["DISPLAY"], "-"]).stdout.encode() + b"\0"
        self.socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.socket.settimeout(WAIT)
        self.socket.connect(socket_path)
        self.next_id, self.received = 2, b""
        registry, globals_ = self.new(), {}
        self.send(1, 1, struct.pack("<I", registry))  # wl_display.get_registry
        for sender, opcode, body in self.roundtrip():
            if sender == registry and opcode == 0:  # wl_registry.global
                name, length = struct.unpack_from("<II", body)
                globals_[body[8:7 + length].decode()] = name
        seat, manager, self.id = self.new(), self.new(), self.new()
        for interface, object_id in (("wl_seat", seat), ("zwp_virtual_keyboard_manager_v1", manager)):
            if interface not in globals_:
                raise Failure(f"the compositor offers no {interface}")
            self.send(registry, 0, struct.pack("<I", globals_[interface]) + self.string(interface) +
                      struct.pack("<II", 1, object_id))  # wl_registry.bind, version 1
        self.send(manager, 0, struct.pack("<II", seat, self.id))  # create_virtual_keyboard
        memfd = os.memfd_create("keymap")
        os.write(memfd, self.text)
        self.send(self.id, 0, struct.pack("<II", 1, len(self.text)), memfd)  # keymap, XKB v1
        os.close(memfd)
        self.roundtrip()

    def new(self):
        self.next_id += 1
        return self.next_id - 1

    @staticmethod
    def string(text):
        data = text.encode() + b"\0"
        return struct.pack("<I", len(data)) + data + bytes(-len(data) % 4)

    def send(self, target, opcode, body, fd=None):
        message = struct.pack("<II", target, (8 + len(body)) << 16 | opcode) + body
        fds = [(socket.SOL_SOCKET, socket.SCM_RIGHTS, struct.pack("<i", fd))] if fd is not None else []
        self.socket.sendmsg([message], fds)

    def roundtrip(self):
        """The events up to the answer to a wl_display.sync: the compositor
        has taken everything sent before."""
        callback, events = self.new(), []
        self.send(1, 0, struct.pack("<I", callback))
        while True:
            while len(self.received) >= 8:
                sender, header = struct.unpack_from("<II", self.received)
                if len(self.received) < header >> 16:
                    break
                body, self.received = self.received[8:header >> 16], self.received[header >> 16:]
                if sender == 1 and header & 0xffff == 0:  # wl_display.error
                    raise Failure(f"the compositor refused the keyboard: {body[12:-1].decode(errors='replace')}")
                if sender == callback:
                    return events
                events.append((sender, header & 0xffff, body))
            try:
                data = self.socket.recv(65536)
            except socket.timeout:
                raise Failure(f"the compositor did not answer within {WAIT:.0f} s")
            if not data:
                raise Failure("the compositor closed the keyboard's connection")
            self.received += data

    def keys(self, keys):
        """Keys as xdotool names them, each with its modifiers held."""
        for number, key in enumerate(keys):
            *held, name = key.split("+")
            code = self.display.keysym_to_keycode(Xlib.XK.string_to_keysym(name)) - 8
            if code < 0 or any(modifier not in self.MODIFIERS for modifier in held):
                raise Failure(f"no key {key} on the keyboard")
            if number:
                time.sleep(0.03)  # as xdotool's --delay on X
            mask = sum(self.MODIFIERS[modifier] for modifier in held)
            if mask:
                self.send(self.id, 2, struct.pack("<IIII", mask, 0, 0, 0))
            for state in (1, 0):  # pressed, released
                now = int(time.monotonic() * 1000) & 0xffffffff
                self.send(self.id, 1, struct.pack("<III", now, code, state))
            if mask:
                self.send(self.id, 2, struct.pack("<IIII", 0, 0, 0, 0))
        self.roundtrip()


class Sway:
    """A headless Wayland compositor for a case's runs, nobody's when we are
    root (sway refuses root), with a private XDG_RUNTIME_DIR in the work
    folder, and a keyboard from the start: a program takes the keyboard only
    if the seat has one when it starts."""

    def __init__(self, work, xwayland):
        self.user = pwd.getpwnam("nobody") if os.geteuid() == 0 else None
        self.prefix = as_user(self.user)
        runtime, self.keyboard = os.path.join(work, "wayland"), None
        os.mkdir(runtime, 0o700)
        if self.user:
            os.chown(runtime, self.user.pw_uid, self.user.pw_gid)
        # Sway's first client writes down what the others need: the sockets
        # (the compositor picks their names) and XWayland's display.
        ready, hello, config = (os.path.join(work, name) for name in ("sway.ready", "sway.sh", "sway.config"))
        with open(hello, "w") as out:
            out.write(f'printf "%s\\n" "$WAYLAND_DISPLAY" "$SWAYSOCK" "$DISPLAY" >{shlex.quote(ready)}.new'
                      f' && mv {shlex.quote(ready)}.new {shlex.quote(ready)}\n')
        with open(config, "w") as out:
            out.write(f"xwayland {'enable' if xwayland else 'disable'}\nexec sh {shlex.quote(hello)}\n")
        if self.user:
            os.chown(work, self.user.pw_uid, self.user.pw_gid)
        # No session bus: GLib would start one through XWayland, which no
        # run ends.
        self.env = {"PATH": os.environ["PATH"], "XDG_RUNTIME_DIR": runtime,
                    "DBUS_SESSION_BUS_ADDRESS": "unix:path=" + os.path.join(runtime, "no-bus")}
        self.log = os.path.join(work, "sway.log")
        with open(self.log, "wb") as log:
            self.process = subprocess.Popen(
                self.prefix + ["sway", "-c", config], cwd=work, stdout=log, stderr=subprocess.STDOUT,
                env=dict(self.env, WLR_BACKENDS="headless", WLR_LIBINPUT_NO_DEVICES="1", WLR_RENDERER="pixman"),
                start_new_session=True)
        try:
            wait_for("the compositor", lambda: self.running() and os.path.exists(ready))
            wayland, ipc, display = open(ready).read().split("\n")[:3]
            self.env.update(WAYLAND_DISPLAY=wayland, SWAYSOCK=ipc, **({"DISPLAY": display} if display else {}))
            socket.setdefaulttimeout(WAIT)  # the compositor answers within WAIT, or the step fails
            self.ipc = i3ipc.Connection(ipc)  # also nobody's compositor, root being root
            socket.setdefaulttimeout(None)
            self.keyboard = Keyboard(os.path.join(runtime, wayland))
        except BaseException:
            self.stop()
            raise

    def running(self):
        if self.process.poll() is not None:
            raise Failure("the compositor ended: " + open(self.log, errors="replace").read()[-2000:])
        return True

    def command(self, command):
        self.running()
        for reply in self.ipc.command(command):
            if not reply.success:
                raise Failure(f"the compositor refused {command}: {reply.error}")

    def views(self):
        """The windows on screen, as the compositor describes them."""
        self.running()
        return [view.ipc_data for view in self.ipc.get_tree() if view.pid and view.ipc_data.get("visible")]

    def windows(self, title, focused=False):
        """The ids of the windows on screen whose title matches."""
        return [str(view["id"]) for view in self.views()
                if re.search(title, view.get("name") or "") and (view.get("focused") or not focused)]

    def shell(self, window):
        """"xdg_shell" for a Wayland window, "xwayland" for an X one."""
        return next((view.get("shell") for view in self.views() if str(view["id"]) == window), None)

    def focus(self, window):
        self.command(f"[con_id={window}] focus")
        wait_for("the focus", lambda: window in self.windows("", focused=True))

    def hand_over(self, work):
        """The work folder becomes the user's, who runs the compositor and
        the programs that draw on it (links themselves, not what they name)."""
        run(["chown", "-R", f"{self.user.pw_uid}:{self.user.pw_gid}", work])

    def stop(self):
        if self.keyboard:
            self.keyboard.socket.close()
            self.keyboard.display.close()
        stop(self.process)


class Case:
    private_mounts = False

    def __init__(self, case_dir):
        self.case_dir, self.work = case_dir, tempfile.mkdtemp(prefix="orvek-case-")
        os.chmod(self.work, 0o755)  # an unprivileged player must reach the game
        self.game, self.home = os.path.join(self.work, "game"), os.path.join(self.work, "home")
        os.mkdir(self.game)
        os.mkdir(self.home)
        self.vars = {"WORK": self.work, "GAME": self.game, "HOME": self.home, "DISPLAY": os.environ["DISPLAY"],
                     "ORVEK_BUILD": BUILD, "ORVEK_SOURCE": SOURCE}
        # SDL 2 would draw the console-key window through OpenGL, which adds
        # a hidden probe window and loads Mesa; SDL 1.2 ignores these. GTK
        # warns on standard error when it finds no accessibility bus, as
        # under a bare X server: only the cases of accessibility start one.
        # Nor may a program start a session bus of its own, which would
        # outlive the case: the address given is one where there is none.
        self.env = dict(os.environ, LC_ALL="C", SDL_AUDIODRIVER="dummy", SDL_RENDER_DRIVER="software",
                        SDL_FRAMEBUFFER_ACCELERATION="0", NO_AT_BRIDGE="1",
                        DBUS_SESSION_BUS_ADDRESS="unix:path=" + os.path.join(self.work, "no-bus"), **self.vars)
        self.process = self.window = self.dialog = self.clipboard = self.condition = self.wayland = None
        self.bus, self.clicked = None, 0.0
        self.runs, self.unchecked, self.mounted, self.kept = [], False, False, {}

    def expand(self, text, values=None):
        values = values or self.vars
        return re.sub(r"\$\{?(\w+)\}?", lambda m: values.get(m.group(1), m.group(0)), text)

    def path(self, name):
        name = self.expand(name)
        return os.path.join(self.home, name[2:]) if name.startswith("~/") else os.path.join(self.game, name)

    def write(self, name, data):
        os.makedirs(os.path.dirname(self.path(name)), exist_ok=True)
        with open(self.path(name), "wb") as out:
            out.write(data)

    def step(self, words, text):
        method = getattr(self, "do_" + words[0].replace("-", "_"), None)
        if not method:
            raise Failure(f"unknown step {words[0]}")
        if self.condition:
            condition, self.condition = self.condition, None
            name, is_setting, value = condition.partition("=")
            if condition not in (PLATFORM, RELEASE) and not (is_setting and CACHE.get(name) == value):
                return
        if words[0] in ("stdout", "stderr", "status", "expect", "absent", "keep", "unchanged", "cpu"):
            self.end()
        if self.wayland and words[0] in ("hold", "type", "paste", "snap"):
            raise Failure(f"{words[0]} is not done on Wayland")
        method(words, text)

    # --- laying out files ------------------------------------------------------

    def do_file(self, words, text):
        self.write(words[-1], content(words[1:-1], text))

    def do_touch(self, words, _):
        for name in words[1:]:
            self.write(name, b"")

    def do_build(self, words, _):  # also source and copy
        root = {"build": BUILD, "source": SOURCE, "copy": self.case_dir}[words[0]]
        target = self.path(words[2] if len(words) > 2 else os.path.basename(words[1]))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copy2(os.path.join(root, self.expand(words[1])), target)

    do_source = do_copy = do_build

    def do_sh(self, words, _):
        result = subprocess.run(["sh", "-c", words[1]], cwd=self.game, env=self.env,
                                capture_output=True, text=True)
        if result.returncode != 0:
            raise Failure(f"sh failed ({result.returncode}): {result.stderr.strip()}")

    def do_full(self, words, _):
        if os.geteuid() != 0:
            raise Skip("a full file system needs root")
        if not Case.private_mounts:
            if ctypes.CDLL(None, use_errno=True).unshare(0x00020000) != 0:  # CLONE_NEWNS
                raise Skip("no private mount namespace: " + os.strerror(ctypes.get_errno()))
            subprocess.run(["mount", "--make-rprivate", "/"])  # fails where / is no mount point
            Case.private_mounts = True
        held = shutil.copytree(self.game, self.game + ".held", symlinks=True)
        subprocess.run(["mount", "-t", "tmpfs", "-o", "size=128k", "tmpfs", self.game], check=True)
        self.mounted = True
        shutil.copytree(held, self.game, symlinks=True, dirs_exist_ok=True)
        subprocess.run(["dd", "if=/dev/zero", "of=" + os.path.join(self.game, ".filler"), "bs=4k"],
                       stderr=subprocess.DEVNULL)

    def do_on(self, words, _):
        self.condition = words[1]

    def do_wayland(self, words, _):
        self.finish_run()
        if self.wayland:
            self.wayland.stop()
        self.wayland = None
        self.wayland = Sway(self.work, words[1:] == ["xwayland"])

    def do_bus(self, words, _):
        """dbus-run-session runs a shell that tells the bus's address and
        then waits for its input to end; the bus ends with it, and the
        accessibility bus with that."""
        runtime = os.path.join(self.work, "runtime")
        os.mkdir(runtime, 0o700)
        self.env.update(XDG_RUNTIME_DIR=runtime)
        self.env.pop("NO_AT_BRIDGE", None)
        self.bus = subprocess.Popen(["dbus-run-session", "--", "sh", "-c",
                                     'echo "$DBUS_SESSION_BUS_ADDRESS" && exec cat >/dev/null'],
                                    stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                    env=self.env, start_new_session=True, text=True)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self.bus.stdout.readline().strip()
        if not self.env["DBUS_SESSION_BUS_ADDRESS"]:
            raise Failure("dbus-run-session told no bus address")

    def reader(self, *args, text=None):
        """What accessibility/reader.py reads, in the bus's environment."""
        result = run(["/usr/bin/python3", READER, *args], False, input=text or "", env=self.env)
        if result.returncode != 0 and (args[0] != "seen" or not result.stdout):
            raise Failure(f"reader.py {' '.join(args)}: {result.stdout.strip()} {result.stderr.strip()}")
        return result.stdout

    def do_use(self, words, _):
        for _, used, text in parse(os.path.join(self.case_dir, words[1]))[0][1]:
            self.step(used, text)

    # --- running -----------------------------------------------------------------

    def reachable_build(self, env):
        """$WORK/build, with a copy of the launcher, for a run as another user
        (who may not enter the build tree); the sanitizers' options in `env`
        are changed to read their suppression files from there too."""
        build = os.path.join(self.work, "build")
        os.makedirs(build, exist_ok=True)
        shutil.copy2(os.path.join(BUILD, "orvek-launcher"), build)

        def copied(match):
            copy = os.path.join(build, os.path.basename(match.group(2)))
            shutil.copy(match.group(2), copy)
            return match.group(1) + "suppressions=" + copy

        for name in ("ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"):
            if name in env:
                env[name] = re.sub(r"(^|:)suppressions=([^:]+)", copied, env[name])
        return build

    def do_start(self, words, _):
        self.finish_run()
        words, env, prefix, cwd = words[1:], dict(self.env), [], self.work
        values = self.vars
        if words[0] == "as":
            if os.geteuid() != 0:
                raise Skip(f"running as {words[1]} needs root")
            prefix = as_user(pwd.getpwnam(words[1]))
            words = words[2:]
        if self.wayland:
            env = {name: value for name, value in env.items() if name not in ("DISPLAY", "XAUTHORITY")}
            env.update(self.wayland.env)
            prefix = self.wayland.prefix
        if prefix:  # another user, who may not enter the build tree
            values = dict(self.vars, ORVEK_BUILD=self.reachable_build(env))
            env["ORVEK_BUILD"] = values["ORVEK_BUILD"]
        while "=" in words[0] or words[0].startswith("-"):
            name, _, value = words.pop(0).partition("=")
            if name.startswith("-"):
                env.pop(name[1:], None)
            else:
                env[name] = self.expand(value, values)
        command = [self.expand(word, values) for word in words]
        # The pointer stays where the last run left it (the console-key
        # window's grab pulls it in): over nothing, it lights up nothing.
        # (The server takes the move before the program connects; waiting
        # for it would wait for ever where the pointer is there already.)
        width, height = xdotool("getdisplaygeometry")
        xdotool("mousemove", str(int(width) - 1), str(int(height) - 1))
        if command[0] == "launcher":
            command[0], cwd = os.path.join(values["ORVEK_BUILD"], "orvek-launcher"), self.game
        if self.wayland and self.wayland.user:
            self.wayland.hand_over(self.work)
        with open(os.path.join(self.work, "stdout"), "wb") as out, \
                open(os.path.join(self.work, "stderr"), "wb") as err:
            self.process = subprocess.Popen(prefix + command, cwd=cwd, env=env, stdout=out,
                                            stderr=err, start_new_session=True)
        self.runs.append({"status": None, "cpu": 0.0})
        self.unchecked, self.window = True, None

    def ended(self):
        """Whether the started program has ended (it is not reaped here)."""
        return not self.process or os.waitid(os.P_PID, self.process.pid,
                                             os.WEXITED | os.WNOHANG | os.WNOWAIT) is not None

    def end(self):
        if not self.process:
            return
        try:
            wait_for("the program's end", self.ended)
        except Failure:
            self.kill()
            raise
        _, status, usage = os.wait4(self.process.pid, 0)
        code = os.waitstatus_to_exitcode(status)
        self.runs[-1].update(status=code if code >= 0 else 128 - code,
                             cpu=usage.ru_utime + usage.ru_stime)
        self.process.returncode, self.process = code, None

    def kill(self):
        if self.process:
            stop(self.process, signal.SIGKILL)
            self.process = None

    def finish_run(self):
        self.end()
        if self.unchecked:
            raise Failure("the run's standard output was not checked")

    def find_window(self, title, focused=True):
        found = []

        def shown():
            if self.ended():
                raise Failure(f"the program ended before a window named {title} appeared")
            # A new window has the compositor's focus, and so the keys.
            found[:] = self.wayland.windows(title, focused) if self.wayland else \
                xdotool("search", "--onlyvisible", "--name", title, check=False)
            return found

        wait_for(f"a window named {title}", shown)
        self.vars["WINDOW"] = self.env["WINDOW"] = found[0]
        return found[0]

    def do_dialog(self, words, _):
        wait_for("the capture window to close", lambda: not (
            self.wayland.windows(CAPTURE_TITLE) if self.wayland else
            xdotool("search", "--name", CAPTURE_TITLE, check=False)))
        self.focus("^Orvek Demo$")
        if self.wayland and self.wayland.shell(self.window) != "xdg_shell":
            # The dialog is a Wayland window of its own, whether XWayland is there or not.
            raise Failure(f"the dialog is no Wayland window but {self.wayland.shell(self.window)}'s")

    def do_message(self, words, _):
        self.focus("^Orvek$")

    def focus(self, title):
        """A window of the launcher's own that keys go to, as the dialog's do."""
        self.window = self.dialog = self.find_window(title, focused=False)
        if self.wayland:
            self.wayland.focus(self.window)
        else:
            xdotool("windowfocus", "--sync", self.window)

    def do_capture(self, words, _):
        self.window = self.find_window(CAPTURE_TITLE)

    def do_keys(self, words, _):
        if self.wayland:
            self.wayland.keyboard.keys(words[1:])
        elif self.window != self.dialog:
            xdotool("key", "--window", self.window, *words[1:])
        else:
            xdotool("key", "--clearmodifiers", "--delay", "30", *words[1:])

    def do_hold(self, words, _):
        xdotool("keydown", "--window", self.window, *words[1:])

    def do_click(self, words, _):  # also double-click, press and release
        x, y = self.reader("where", *words[1:]).split()
        # Clicks at one spot within GTK's double-click time (400 ms) would
        # make one double (or triple) click.
        time.sleep(max(0.0, self.clicked + 0.5 - time.monotonic()))
        xdotool("mousemove", x, y, *{"click": ["click"], "double-click": ["click", "--repeat", "2"],
                                     "press": ["mousedown"], "release": ["mouseup"]}[words[0]], "1")
        self.clicked = time.monotonic()

    do_double_click = do_press = do_release = do_click

    def do_select(self, words, _):
        self.reader(*words)

    def do_type(self, words, _):
        xdotool("type", "--clearmodifiers", "--delay", "30", self.expand(words[1]))

    def do_paste(self, words, text):
        # The paste is a conversation between the launcher and xclip that a
        # key pressed meanwhile would overtake: xclip serves the one request,
        # the launcher's, and ends; the text is then ahead of any later key.
        if self.clipboard:
            self.clipboard.kill()
        self.clipboard = subprocess.Popen(["xclip", "-quiet", "-loops", "1", "-selection", "clipboard"],
                                          stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                          stderr=subprocess.DEVNULL, env=self.env)
        self.clipboard.stdin.write(content(words[1:], text))
        self.clipboard.stdin.close()
        x = Xlib.display.Display()
        clipboard = x.intern_atom("CLIPBOARD")
        wait_for("the clipboard", lambda: x.get_selection_owner(clipboard) != Xlib.X.NONE)
        x.close()
        xdotool("key", "--clearmodifiers", "ctrl+v")
        try:
            self.clipboard.wait(timeout=WAIT)
        except subprocess.TimeoutExpired:
            raise Failure(f"the pasted text: not asked for within {WAIT:.0f} s")

    def do_close(self, words, _):
        if self.wayland:
            return self.wayland.command(f"[con_id={self.window}] kill")
        # No window manager runs under Xvfb: the message it would send.
        x = Xlib.display.Display()
        window, atom = x.create_resource_object("window", int(self.window)), x.intern_atom
        window.send_event(Xlib.protocol.event.ClientMessage(
            window=window, client_type=atom("WM_PROTOCOLS"),
            data=(32, [atom("WM_DELETE_WINDOW"), Xlib.X.CurrentTime, 0, 0, 0])))
        x.sync()  # a round trip: the message has reached the server before we go
        x.close()

    def do_signal(self, words, _):
        self.process.send_signal(getattr(signal, "SIG" + words[1]))

    def do_heard(self, words, _):
        """The device got silence while paused, then (from the start of a
        buffer, where its buffers are the launcher's) the samples once, zero
        bytes to the end of their last buffer, and only silence after that:
        one buffer of it at least."""
        with wave.open(self.path(words[1])) as wav:
            samples, width, frame = wav.readframes(wav.getnframes()), wav.getsampwidth(), wav.getnchannels()
        buffer, silence = 4096 * frame * width, 0x80 if width == 1 else 0  # SDL's WAV loader: 4096 frames
        padded, heard = -(-len(samples) // buffer) * buffer, os.path.join(self.work, "heard.raw")
        raw = start = None

        def played():
            nonlocal raw, start
            raw = open(heard, "rb").read() if os.path.exists(heard) else b""
            start = len(raw) - len(raw.lstrip(bytes([silence])))
            return start < len(raw) and len(raw) >= start + padded + buffer

        wait_for("the launch sound", played)
        if PLATFORM == "sdl1":  # SDL 2 fills buffers of its own size
            compare("where the sound starts, within its buffer", 0, start % buffer)
        compare("the samples played", samples, raw[start:start + len(samples)])
        compare("what follows them in their buffer", bytes(padded - len(samples)),
                raw[start + len(samples):start + padded])
        compare("what follows the sound", b"", raw[start + padded:].replace(bytes([silence]), b""))

    def do_snap(self, words, _):
        folder = os.path.join(self.case_dir, "pictures")
        if os.path.isdir(os.path.join(folder, RELEASE)):
            folder = os.path.join(folder, RELEASE)
        expected = os.path.join(folder, words[1] + ".png")
        actual, previous = os.path.join(self.work, words[1] + ".png"), None
        differing = float("inf")
        # The window settles after the last key, late on a busy machine or in
        # a sanitizer build: the picture counts once it matches, or once it
        # has stayed the same for SNAP_SETTLE seconds (then it is final).
        start = since = time.monotonic()
        while time.monotonic() - since < SNAP_SETTLE and time.monotonic() - start < WAIT:
            subprocess.run(["import", "-window", self.window, actual], check=True)
            with open(actual, "rb") as f:
                picture = f.read()
            if picture != previous:
                previous, since = picture, time.monotonic()
                if os.path.exists(expected):
                    result = subprocess.run(["compare", "-metric", "AE", "-fuzz", "1%", expected, actual,
                                             "null:"], capture_output=True, text=True)
                    differing = float(result.stderr.split()[0]) if result.returncode < 2 else float("inf")
                    if differing == 0:
                        return
            time.sleep(0.1)
        if not os.path.exists(expected):
            os.makedirs(os.path.dirname(expected), exist_ok=True)
            shutil.copy(actual, expected)
            raise Failure(f"{expected} recorded: look at it, then run again")
        kept = shutil.copy(actual, os.path.join(tempfile.gettempdir(), f"orvek-{words[1]}.png"))
        raise Failure(f"picture {words[1]}: {differing:g} pixels differ "
                      f"({result.stderr.strip()}); this run's picture is {kept}")

    # --- checks -------------------------------------------------------------------

    def output(self, name):
        with open(os.path.join(self.work, name), "rb") as f:
            data = f.read().decode("utf-8", "surrogateescape")
        data = re.sub(r"\((\S+?):\d+\): (.*?) \*\*: [\d:.]+: ", r"(\1): \2 **: ", data)
        return data.replace(self.work, "$WORK")

    def do_stdout(self, words, text):  # also stderr
        try:
            compare(words[0], content(words[1:], text).decode("utf-8", "surrogateescape"), self.output(words[0]))
        except Failure as failure:
            if words[0] == "stdout":  # the launcher's complaint is the likeliest reason
                raise Failure(f"{failure}\n  its stderr: {self.output('stderr')[-2000:]!r}")
            raise
        self.unchecked &= words[0] != "stdout"

    do_stderr = do_stdout

    def do_seen(self, words, text):
        compare("what is seen", text, self.reader("seen", text=text))

    def do_status(self, words, _):
        compare("exit status", words[1], str(self.runs[-1]["status"]))

    def do_expect(self, words, text):
        try:
            with open(self.path(words[-1]), "rb") as f:
                actual = f.read()
        except OSError as error:
            raise Failure(f"{words[-1]}: {error.strerror}")
        compare(words[-1], content(words[1:-1], text).decode("utf-8", "surrogateescape"),
                actual.decode("utf-8", "surrogateescape"))

    def do_absent(self, words, _):
        for name in words[1:]:
            if os.path.lexists(self.path(name)):
                raise Failure(f"{name} exists")

    def state(self, name):
        """What unchanged compares: the file (device and inode), owner,
        group, mode and bytes."""
        status = os.lstat(self.path(name))
        with open(self.path(name), "rb") as f:
            return (status.st_dev, status.st_ino, status.st_uid, status.st_gid, oct(status.st_mode), f.read())

    def do_keep(self, words, _):
        for name in words[1:]:
            self.kept[name] = self.state(name)

    def do_unchanged(self, words, _):
        for name in words[1:]:
            fields = ("device", "file (inode)", "owner", "group", "mode", "bytes")
            for field, kept, now in zip(fields, self.kept[name], self.state(name)):
                if kept != now:
                    shown = lambda value: value if field != "bytes" else value[:200]
                    raise Failure(f"{name}: its {field} changed from {shown(kept)!r} to {shown(now)!r}")

    def do_cpu(self, words, _):
        base, used = self.runs[int(words[1]) - 1]["cpu"], self.runs[-1]["cpu"]
        if used > float(words[2]) * base:
            raise Failure(f"run {len(self.runs)} took {used:.2f} s of CPU, more than {words[2]} "
                          f"times the {base:.2f} s of run {words[1]}")

    def close(self):
        self.kill()
        if self.wayland:
            self.wayland.stop()
        if self.bus:
            self.bus.stdin.close()
            stop(self.bus, None)
        if self.clipboard:
            self.clipboard.kill()
        if self.mounted:
            subprocess.run(["umount", self.game])
        shutil.rmtree(self.work, ignore_errors=True)


def main():
    cases = [case for case in parse(sys.argv[1]) if len(sys.argv) < 3 or case[0] in sys.argv[2:]]
    failed = skipped = 0
    for name, steps in cases:
        case = Case(os.path.dirname(os.path.abspath(sys.argv[1])))
        try:
            for number, words, text in steps:
                try:
                    case.step(words, text)
                except Failure as failure:
                    raise Failure(f"line {number} ({words[0]}): {failure}")
            case.finish_run()
            print(f"ok    {name}")
        except Skip as reason:
            skipped += 1
            print(f"skip  {name}: {reason}")
        except (Failure, OSError, subprocess.SubprocessError) as failure:
            failed += 1
            print(f"FAIL  {name}: {failure}")
        finally:
            case.close()
    print(f"{len(cases) - failed - skipped} passed, {failed} failed, {skipped} skipped")
    return 1 if failed else 77 if cases and skipped == len(cases) else 0


if __name__ == "__main__":
    sys.exit(main())
