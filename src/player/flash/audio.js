"use strict";
// The emulator plays its sound as a chain of short buffers, each mixed when the one before has
// played out, and keeps the chain going through silence: a movie that stopped itself kept the
// engine's audio output (two threads in two processes) as busy as a playing one. After a while
// of silence the context is suspended; the emulator's buffers then end on a timer instead, so it
// mixes at the same pace, and the first buffer that holds sound resumes the output. The emulator
// sees the context's clock go on and its state unchanged, as if it had never been suspended.
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
    let quietContext = null; // the context suspended for silence, if any
    let silentSince = null; // when the buffers handed out began to be silent; null: sound
    let last = null; // the context made last

    function silent(buffer) {
        for (let channel = 0; channel < buffer.numberOfChannels; ++channel) {
            const samples = buffer.getChannelData(channel);
            for (let i = 0; i < samples.length; ++i)
                if (samples[i] !== 0)
                    return false;
        }
        return true;
    }

    function watch(context) {
        let wanted = realState.call(context); // the state the emulator asked for
        let quiet = false;
        let offset = 0; // the emulator's clock less the context's, while not quiet
        let quietClock = 0, quietSince = 0; // while quiet: the clock and when it last ran on
        const playing = new Set(); // buffers handed to the context: { node, ended, end }
        const timed = new Set(); // buffers ended by a timer: { ended, end, timer }

        const clock = () => {
            if (!quiet)
                return realTime.call(context) + offset;
            return wanted === "running"
                ? quietClock + (performance.now() - quietSince) / 1000 : quietClock;
        };
        const arm = entry => {
            entry.timer = setTimeout(() => {
                timed.delete(entry);
                entry.ended.call(undefined, new Event("ended"));
            }, Math.max(0, (entry.end - clock()) * 1000));
        };
        const endOnTimer = (ended, end) => {
            if (!ended)
                return;
            const entry = { ended: ended, end: end, timer: null };
            timed.add(entry);
            if (wanted === "running")
                arm(entry);
        };
        function becomeQuiet() {
            const now = clock();
            for (const entry of playing) {
                entry.node.onended = null;
                entry.node.stop();
                endOnTimer(entry.ended, entry.end);
            }
            playing.clear();
            quiet = true;
            quietClock = now;
            quietSince = performance.now();
            quietContext = context;
            realSuspend.call(context).catch(() => {});
        }
        function wakeUp() {
            const now = clock();
            quiet = false;
            quietContext = null;
            offset = now - realTime.call(context);
            realResume.call(context).catch(() => {});
        }

        Object.defineProperty(context, "currentTime", { get: clock });
        const state = () => realState.call(context);
        const mayRest = () => wanted === "running" && state() === "running" &&
                              performance.now() - silentSince >= kQuietAfterMs;
        Object.defineProperty(context, "state", { get: () => (quiet ? wanted : state()) });
        context.suspend = () => {
            if (!quiet) {
                wanted = "suspended";
                return realSuspend.call(context);
            }
            if (wanted === "running") {
                quietClock = clock();
                wanted = "suspended";
                for (const entry of timed)
                    clearTimeout(entry.timer);
            }
            return Promise.resolve();
        };
        // A closed context's buffers end no more: neither do the timed ones.
        const close = context.close;
        context.close = () => {
            for (const entry of timed)
                clearTimeout(entry.timer);
            timed.clear();
            if (quietContext === context)
                quietContext = null;
            return close.call(context);
        };
        context.resume = () => {
            if (!quiet) {
                wanted = "running";
                return realResume.call(context);
            }
            if (wanted !== "running") {
                wanted = "running";
                quietSince = performance.now();
                timed.forEach(arm);
            }
            return Promise.resolve();
        };
        const create = context.createBufferSource;
        context.createBufferSource = function () {
            const node = create.call(context);
            node.start = (when = 0, ...rest) => {
                const duration = node.buffer ? node.buffer.duration : 0;
                const isSilent = !node.buffer || silent(node.buffer);
                if (!isSilent)
                    silentSince = null;
                else if (silentSince === null)
                    silentSince = performance.now();
                if (isSilent && (quiet || mayRest())) {
                    if (!quiet)
                        becomeQuiet();
                    return endOnTimer(node.onended, Math.max(when, clock()) + duration);
                }
                if (quiet)
                    wakeUp();
                const entry = { node: node, ended: node.onended, end: when + duration };
                playing.add(entry);
                node.onended = event => {
                    playing.delete(entry);
                    if (entry.ended)
                        entry.ended.call(node, event);
                };
                return realStart.call(node, when > 0 ? Math.max(0, when - offset) : 0, ...rest);
            };
            return node;
        };
        last = context;
    }

    function Context(options) {
        const context = new RealContext(options);
        watch(context);
        return context;
    }
    Context.prototype = RealContext.prototype;
    window.AudioContext = Context;

    return {
        // Whether the emulator's sound has been silent a while (or it has none at all).
        quiet: () => last === null || quietContext !== null,
        context: () => last,
    };
})();
