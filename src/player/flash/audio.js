"use strict";
// The emulator plays its sound as a chain of short buffers, each mixed when the one before has
// played out, and keeps the chain going through silence: a movie that stopped itself kept the
// engine's audio output (two threads in two processes) as busy as a playing one. After a while
// of silence the context is suspended. Its buffers then count as played out when the emulator
// has run (a sound can only start there): after each of its ticks the buffers due are mixed,
// and one more to carry a sound that the tick started. The first buffer that holds sound
// resumes the output. The emulator sees the context's clock go on and its state unchanged.
const lumoraAudio = (() => {
    const RealContext = window.AudioContext;
    const base = BaseAudioContext.prototype;
    const getter = name => Object.getOwnPropertyDescriptor(base, name).get;
    const realTime = getter("currentTime");
    const realState = getter("state");
    const realSuspend = RealContext.prototype.suspend;
    const realResume = RealContext.prototype.resume;
    const realStart = AudioBufferSourceNode.prototype.start;
    const kQuietAfterMs = 2000;
    // Without ticks (a movie that no longer asks for them) the buffers are mixed this often.
    const kUntickedMs = 300;
    const kMostPerPull = 64; // buffers of a second and a half at the smallest size
    let silentSince = null; // when the buffers handed out began to be silent; null: sound
    let last = null; // the context made last, with its controls

    // The length is read once: read on every pass, it made the loop twenty times slower, and
    // dozens of buffers a second pass through here.
    function silent(buffer) {
        for (let channel = 0; channel < buffer.numberOfChannels; ++channel) {
            const samples = buffer.getChannelData(channel);
            const length = samples.length;
            for (let i = 0; i < length; ++i)
                if (samples[i] !== 0)
                    return false;
        }
        return true;
    }

    function watch(context) {
        let wanted = realState.call(context); // the state the emulator asked for
        let quiet = false;
        let closed = false;
        let offset = 0; // the emulator's clock less the context's, while not quiet
        let quietClock = 0, quietSince = 0; // while quiet: the clock and when it last ran on
        let pinned = null; // the clock while a buffer that played out is refilled
        let unticked = null;
        const playing = new Set(); // buffers handed to the context: { node, end }
        const held = new Set(); // buffers that end without the context: { ended, end, timer }

        const state = () => realState.call(context);
        const clock = () => {
            if (pinned !== null)
                return pinned;
            if (!quiet)
                return realTime.call(context) + offset;
            return wanted === "running"
                ? quietClock + (performance.now() - quietSince) / 1000 : quietClock;
        };
        const end = entry => {
            held.delete(entry);
            clearTimeout(entry.timer);
            pinned = entry.end;
            try {
                entry.ended.call(undefined, new Event("ended"));
            } catch (error) {
                // Reported as an event handler's would be, without stopping the caller.
                queueMicrotask(() => { throw error; });
            } finally {
                pinned = null;
            }
        };
        // Out of quiet, held buffers end on the context's clock.
        const arm = entry => {
            entry.timer = setTimeout(() => end(entry), Math.max(0, (entry.end - clock()) * 1000));
        };
        const hold = (ended, endTime) => {
            if (!ended)
                return;
            const entry = { ended: ended, end: endTime, timer: null };
            held.add(entry);
            if (!quiet && wanted === "running")
                arm(entry);
        };
        const disarm = () => held.forEach(entry => clearTimeout(entry.timer));
        const pullLater = () => {
            clearTimeout(unticked);
            unticked = setTimeout(pull, kUntickedMs);
        };

        function pull() {
            clearTimeout(unticked);
            unticked = null;
            if (!quiet || wanted !== "running" || closed)
                return;
            const now = clock();
            let ahead = 1;
            for (let n = 0; quiet && held.size > 0 && n < kMostPerPull; ++n) {
                let next = null;
                for (const entry of held)
                    if (!next || entry.end < next.end)
                        next = entry;
                if (next.end > now && ahead-- <= 0)
                    break;
                end(next);
            }
            if (quiet)
                pullLater();
        }
        function becomeQuiet() {
            quietClock = clock();
            quietSince = performance.now();
            quiet = true;
            for (const entry of playing) {
                const ended = entry.node.onended;
                entry.node.onended = null;
                entry.node.stop();
                hold(ended, entry.end);
            }
            playing.clear();
            realSuspend.call(context).catch(() => {});
            pullLater();
        }
        function wakeUp() {
            offset = clock() - realTime.call(context);
            quiet = false;
            clearTimeout(unticked);
            realResume.call(context).catch(() => {});
            held.forEach(arm);
        }
        const mayRest = () => wanted === "running" && state() === "running" &&
                              performance.now() - silentSince >= kQuietAfterMs;

        Object.defineProperty(context, "currentTime", { get: clock });
        Object.defineProperty(context, "state", { get: () => (quiet ? wanted : state()) });
        context.suspend = () => {
            if (wanted === "running")
                quietClock = clock();
            wanted = "suspended";
            disarm();
            return quiet ? Promise.resolve() : realSuspend.call(context);
        };
        context.resume = () => {
            if (wanted !== "running")
                quietSince = performance.now();
            wanted = "running";
            if (quiet) {
                pullLater();
                return Promise.resolve();
            }
            disarm();
            held.forEach(arm);
            return realResume.call(context);
        };
        // A closed context's buffers end no more: neither do the held ones.
        const close = context.close;
        context.close = () => {
            closed = true;
            disarm();
            held.clear();
            clearTimeout(unticked);
            return close.call(context);
        };

        function start(node, when, rest) {
            const duration = node.buffer ? node.buffer.duration : 0;
            const isSilent = !node.buffer || silent(node.buffer);
            if (!isSilent)
                silentSince = null;
            else if (silentSince === null)
                silentSince = performance.now();
            if (isSilent && (quiet || mayRest())) {
                if (!quiet)
                    becomeQuiet();
                return hold(node.onended, Math.max(when, clock()) + duration);
            }
            if (quiet)
                wakeUp();
            let real = node;
            if (node.real === null) { // a stand-in gets its node now
                real = node.real = create.call(context);
                real.buffer = node.buffer;
                real.onended = node.ended;
                real.connect(context.destination);
            }
            const entry = { node: real, end: when + duration };
            playing.add(entry);
            real.addEventListener("ended", () => playing.delete(entry));
            return realStart.call(real, when > 0 ? Math.max(0, when - offset) : 0, ...rest);
        }
        // While quiet, the buffers are handed to stand-ins: a node of the engine for each would
        // be made and connected for nothing, dozens a second.
        function standIn() {
            const node = {
                buffer: null,
                real: null,
                ended: null,
                get onended() { return node.real ? node.real.onended : node.ended; },
                set onended(value) {
                    if (node.real)
                        node.real.onended = value;
                    else
                        node.ended = value;
                },
                connect: destination => destination,
                disconnect() {},
                start: (when = 0, ...rest) => start(node, when, rest),
                stop: (...args) => node.real && node.real.stop(...args),
            };
            return node;
        }
        const create = context.createBufferSource;
        context.createBufferSource = function () {
            if (quiet)
                return standIn();
            const node = create.call(context);
            node.start = (when = 0, ...rest) => start(node, when, rest);
            return node;
        };
        return { context: context, pull: pull, quiet: () => quiet && !closed };
    }

    function Context(options) {
        const context = new RealContext(options);
        last = watch(context);
        return context;
    }
    Context.prototype = RealContext.prototype;
    window.AudioContext = Context;

    return {
        // Whether the emulator's sound has been silent a while (or it has none at all).
        quiet: () => last === null || last.quiet(),
        // The emulator has run: the buffers it has had time to fill are mixed.
        ran: () => last && last.pull(),
        context: () => last && last.context,
    };
})();
