"use strict";
// The site's pages beside the player animate for ever (a ticker, a bobbing badge, dancing
// bars). Without graphics drivers every frame of them is drawn and composed on the processor,
// sixty times a second, and the whole window with it. Endless animations therefore move in
// steps, at the frame rate of the service's movies; animations that end run as the page made
// them, so that their ends still come when the page expects them. While nobody touches the
// program for a while, endless animations rest where they are (the program says when).
(function () {
    const kStepMs = 83; // twelve steps a second
    const kLookMs = 3 * kStepMs; // a still page is looked at four times a second, for new ones
    const kRestLookMs = 12 * kStepMs; // and once a second while the program is quiet
    const stepped = new WeakSet();
    let last = performance.now();
    let resting = !!window.lumoraRestFirst;
    let timer = null;
    window.lumoraAnimations = {
        rest(on) {
            // Waking does not wait for the next look: the animations move on at once.
            if (resting && !on) {
                clearTimeout(timer);
                last = performance.now();
                stepOnGrid(kStepMs);
            }
            resting = !!on;
            for (let i = 0; i < window.frames.length; ++i) {
                try {
                    window.frames[i].lumoraAnimations?.rest(on);
                } catch (e) {
                    // another site's frame: it keeps its pace
                }
            }
        },
    };

    function endless(animation) {
        const effect = animation.effect;
        return !!effect && effect.getTiming().iterations === Infinity;
    }

    function step() {
        const now = performance.now();
        const elapsed = now - last;
        last = now;
        let moving = false;
        for (const animation of document.getAnimations()) {
            if (!endless(animation))
                continue;
            moving = true;
            if (animation.playState === "running") {
                animation.pause();
                stepped.add(animation);
            } else if (!resting && stepped.has(animation) && animation.playState === "paused") {
                animation.currentTime += elapsed * animation.playbackRate;
            }
        }
        stepOnGrid(resting ? kRestLookMs : moving ? kStepMs : kLookMs);
    }

    // On the wall clock's grid, the same in every page: the panes step together, and the
    // window draws their steps at once.
    function stepOnGrid(period) {
        timer = setTimeout(step, period - (Date.now() % period));
    }
    step();
})();
