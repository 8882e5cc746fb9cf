"use strict";
// Ruffle asks for every animation frame even while it is suspended, so a still picture
// kept the page drawing sixty times a second. While the movie sleeps its requests wait; a
// change of the player's size lets them through once, to draw the held frame at that size.
const lumoraFrames = (() => {
    const realRequest = window.requestAnimationFrame.bind(window);
    const realCancel = window.cancelAnimationFrame.bind(window);
    const pending = new Map(); // our id -> { callback, real id or null while held }
    let nextId = 1;
    let asleep = false;
    function send(id, entry) {
        entry.real = realRequest(time => {
            pending.delete(id);
            entry.callback(time);
        });
    }
    function releaseHeld() {
        for (const [id, entry] of pending)
            if (entry.real === null)
                send(id, entry);
    }
    window.requestAnimationFrame = callback => {
        const id = nextId++;
        const entry = { callback: callback, real: null };
        pending.set(id, entry);
        if (!asleep)
            send(id, entry);
        return id;
    };
    window.cancelAnimationFrame = id => {
        const entry = pending.get(id);
        if (!entry)
            return;
        pending.delete(id);
        if (entry.real !== null)
            realCancel(entry.real);
    };
    return {
        sleep() { asleep = true; },
        wake() { asleep = false; releaseHeld(); },
        // A change of the element's size lets the held requests through once.
        watch(element) { new ResizeObserver(releaseHeld).observe(element); },
    };
})();
