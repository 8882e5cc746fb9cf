"use strict";
// How often the emulator gets the animation frames it asks for, sixty a second otherwise.
// - While the movie sleeps its requests wait; a change of the player's size lets them through
//   once, to draw the held frame at that size.
// - While it plays, it draws only when a frame of its timeline is due, so the requests wait
//   until shortly before that and then go at the screen's rate until it draws: every frame comes
//   at the same screen refresh as before, and the empty ticks in between are saved. A drawing
//   that comes between frames (a script animating, a reply to the mouse) and any input let every
//   request through for a while.
// - A picture held still in silence for a while is ticked every third frame only.
const lumoraFrames = (() => {
    const realRequest = window.requestAnimationFrame.bind(window);
    const realCancel = window.cancelAnimationFrame.bind(window);
    // A frame comes less than one refresh early on the period after the last one, so a held
    // request goes out that much before.
    const kRefreshMs = 1000 / 60;
    const kFreeMs = 2000;
    // The emulator runs all the frames due in one tick while each takes under a third of a
    // frame's time (five at most); more than that and it would drop some.
    const kRestFrames = 3;
    const kRestAfterMs = 2000;
    const pending = new Map(); // our id -> { callback, real id or null while held, timer }
    let nextId = 1;
    let asleep = false;
    let periodMs = 0; // 0: no pacing
    let lastDraw = -Infinity;
    let freeUntil = 0;
    let drew = false;
    let delivered = 0;
    let refreshes = 0; // the refreshes asked of the engine
    let stillSince = null; // since when the pictures drawn have all been the same

    // The 2D renderer starts every picture it draws by resetting the transform.
    const context2d = CanvasRenderingContext2D.prototype;
    const realReset = context2d.resetTransform;
    context2d.resetTransform = function () {
        drew = true;
        return realReset.call(this);
    };

    // The emulator asks for its next tick before it draws: that request waits for the drawing.
    let asked = null;
    let lastTime = -Infinity;
    function tick(id, entry, time) {
        pending.delete(id);
        ++delivered;
        if (entry.releasedAt !== undefined)
            noteLag(entry.releasedAt - time);
        // A refresh after a tick from the timer may carry a time before it; the emulator's
        // clock must not go back.
        time = Math.max(time, lastTime);
        lastTime = time;
        drew = false;
        asked = [];
        const skipped = lumoraStillFrames.skipped();
        try {
            lumoraStillFrames.frame(entry.callback, time);
        } finally {
            if (drew)
                drawn(time, lumoraStillFrames.skipped() > skipped);
            const requests = asked;
            asked = null;
            for (const [askedId, askedEntry] of requests)
                if (pending.has(askedId) && !asleep)
                    send(askedId, askedEntry, false);
            lumoraAudio.ran();
            if (awake.byTicks && !asleep && awake.task)
                awake.task();
        }
    }
    // More drawings in a second than the movie has frames: something draws between them. A
    // late tick (a busy machine) only brings the next frame closer, never adds one.
    const draws = [];
    function drawn(time, still) {
        if (!still)
            stillSince = null;
        else if (stillSince === null)
            stillSince = time;
        draws.push(time);
        while (draws[0] <= time - 1000)
            draws.shift();
        if (draws.length > 1 + 1.25 * 1000 / periodMs)
            free();
        lastDraw = time;
    }
    // A request let through may still get the refresh that began before it: its tick then
    // carries that earlier time, which is the time the emulator counts by. The largest such lag
    // of late, at most a refresh, is added to the wait.
    const lags = [];
    function noteLag(ms) {
        lags.push(ms);
        if (lags.length > 8)
            lags.shift();
    }
    // A picture that has held still a while, with no sound, is ticked every few frames: the
    // frames due in between run all in that tick, and timers fall due up to that much late.
    function framesToWait() {
        const resting = stillSince !== null && lastDraw - stillSince >= kRestAfterMs &&
                        lumoraAudio.quiet();
        return resting ? kRestFrames : 1;
    }
    function send(id, entry, now) {
        const frames = framesToWait();
        // At rest nothing is on its way to the screen: the tick comes from the timer itself,
        // on time (or at once if late), since asking for a refresh keeps the compositors
        // ticking for a while after. A hidden page gets no refreshes, and so no ticks, as before.
        const resting = frames > 1;
        const early = resting ? 0 : kRefreshMs - Math.min(Math.max(0, ...lags), kRefreshMs);
        const wait = lastDraw + frames * periodMs - early - performance.now();
        if (!now && periodMs > 0 && (resting || wait > 1) && performance.now() > freeUntil) {
            entry.timer = setTimeout(() => {
                entry.timer = null;
                if (asleep)
                    return;
                if (resting && document.visibilityState === "visible") {
                    tickedByTimer(true);
                    return tick(id, entry, performance.now());
                }
                entry.releasedAt = performance.now();
                send(id, entry, true);
            }, wait);
            return;
        }
        ++refreshes;
        tickedByTimer(false);
        entry.real = realRequest(time => tick(id, entry, time));
    }
    function releaseHeld() {
        for (const [id, entry] of pending)
            if (entry.real === null) {
                clearTimeout(entry.timer);
                send(id, entry, true);
            }
    }
    function free() { freeUntil = performance.now() + kFreeMs; }

    window.requestAnimationFrame = callback => {
        const id = nextId++;
        const entry = { callback: callback, real: null, timer: null };
        pending.set(id, entry);
        if (asked)
            asked.push([id, entry]);
        else if (!asleep)
            send(id, entry, false);
        return id;
    };
    window.cancelAnimationFrame = id => {
        const entry = pending.get(id);
        if (!entry)
            return;
        pending.delete(id);
        clearTimeout(entry.timer);
        if (entry.real !== null)
            realCancel(entry.real);
    };
    // The emulator asks for gamepads on every tick, which keeps the engine's gamepad polling
    // thread busy; Flash movies never read gamepads.
    Object.defineProperty(Navigator.prototype, "getGamepads", { value: () => [] });
    // The emulator answers input at its next tick: a request held for pacing or rest would show
    // a click's answer up to a quarter of a second late, so input lets it through at once.
    const answer = () => {
        free();
        if (!asleep)
            releaseHeld();
    };
    for (const type of ["pointerdown", "pointermove", "wheel", "keydown", "touchstart"])
        window.addEventListener(type, answer, { capture: true, passive: true });

    // A timer of the host's that sleeps with the movie: even an empty one wakes the page. While
    // the movie rests, what the task reads can change only when the emulator runs: the task then
    // follows its ticks, a few a second, instead of the timer.
    const awake = { task: null, ms: 0, timer: null, byTicks: false };
    function runAwake() {
        clearInterval(awake.timer);
        awake.timer = awake.task && !asleep && !awake.byTicks
            ? setInterval(awake.task, awake.ms) : null;
    }
    function tickedByTimer(byTicks) {
        if (awake.byTicks === byTicks)
            return;
        awake.byTicks = byTicks;
        runAwake();
    }

    return {
        sleep() { asleep = true; runAwake(); },
        wake() { asleep = false; runAwake(); releaseHeld(); },
        // Runs the task every so many milliseconds while the movie is awake.
        whileAwake(task, ms) { awake.task = task; awake.ms = ms; runAwake(); },
        // A change of the element's size lets the held requests through once.
        watch(element) { new ResizeObserver(releaseHeld).observe(element); },
        // Paces the requests to a movie of this many frames a second; 0 stops pacing.
        pace(frameRate) {
            periodMs = frameRate > 0 ? 1000 / frameRate : 0;
            lastDraw = -Infinity;
            stillSince = null;
            draws.length = 0;
        },
        delivered() { return delivered; },
        refreshes() { return refreshes; },
    };
})();
