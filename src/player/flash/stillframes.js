"use strict";
// The emulator draws its whole picture again for every frame, even when nothing has moved (a
// movie that stopped itself, a video's frame shown twice), and each picture drawn makes the
// engine and the window compose the player area again. During an animation frame, what it draws
// on the page's canvas is noted instead of done; at the end the notes are carried out, unless
// they are the same as the last picture's and nothing they draw from has changed. Whatever the
// notes cannot tell (a reading of the canvas, a change to another canvas or a path mid-picture)
// carries out what is noted so far and lets the rest of the picture be drawn as it comes.
const lumoraStillFrames = (() => {
    const context2d = CanvasRenderingContext2D.prototype;
    // Drawing calls with no answer, kept in order.
    const kNoted = ["save", "restore", "scale", "rotate", "translate", "transform",
                    "setTransform", "resetTransform", "clearRect", "fillRect", "strokeRect",
                    "beginPath", "closePath", "moveTo", "lineTo", "bezierCurveTo",
                    "quadraticCurveTo", "arc", "arcTo", "ellipse", "rect", "roundRect", "fill",
                    "stroke", "clip", "drawImage", "setLineDash", "fillText", "strokeText"];
    // Calls whose answer does not depend on the canvas.
    const kMakers = ["createLinearGradient", "createRadialGradient", "createConicGradient",
                     "createPattern", "createImageData"];
    let notes = null;     // this animation frame's notes, or null while drawing as it comes
    let last = [];        // the notes of the picture on the canvas
    let lastSize = "";
    let canvas = null;    // the page's canvas, as the notes last found it
    let changed = true;   // something the last picture drew from has changed since
    let skipped = 0;

    const isOurs = context => context.canvas.isConnected;
    function copied(value) {
        if (value instanceof DOMMatrixReadOnly)
            return { matrix: [value.a, value.b, value.c, value.d, value.e, value.f] };
        return Array.isArray(value) ? { list: value.slice() } : value;
    }
    function restored(value) {
        if (value && value.matrix)
            return new DOMMatrix(value.matrix);
        return value && value.list ? value.list : value;
    }
    function same(a, b) {
        if (a === b)
            return true;
        const x = a && (a.matrix || a.list), y = b && (b.matrix || b.list);
        return !!x && !!y && x.length === y.length && x.every((v, i) => v === y[i]);
    }
    const sameNote = (a, b) => a.name === b.name && a.target === b.target &&
                               a.args.length === b.args.length &&
                               a.args.every((v, i) => same(v, b.args[i]));
    const carryOut = note => note.real.apply(note.target, note.args.map(restored));
    // Notes a call of real on target, to be carried out later.
    function note(real, name, target, args) {
        notes.push({ real: real, name: name, target: target, args: args.map(copied) });
    }

    // Something the picture draws from changes. Before anything is noted that changes nothing
    // in the order of the drawing; after, the notes so far are carried out and the rest of this
    // frame is drawn as it comes.
    function change() {
        changed = true;
        if (notes === null || notes.length === 0)
            return;
        const pending = notes;
        notes = null;
        pending.forEach(carryOut);
    }

    function wrapMethod(proto, name, onCall) {
        const real = proto[name];
        if (typeof real === "function")
            proto[name] = function (...args) { return onCall(this, real, args); };
    }
    for (const name of kNoted)
        wrapMethod(context2d, name, (context, real, args) => {
            // A video or an image still loading changes its picture by itself.
            if (args[0] instanceof HTMLVideoElement || args[0] instanceof HTMLImageElement)
                change();
            if (notes === null || !isOurs(context)) {
                change();
                return real.apply(context, args);
            }
            canvas = context.canvas;
            note(real, name, context, args);
        });
    for (const name of Object.getOwnPropertyNames(context2d)) {
        const property = Object.getOwnPropertyDescriptor(context2d, name);
        if (kNoted.includes(name) || kMakers.includes(name) || name === "constructor")
            continue;
        if (property.set) {
            Object.defineProperty(context2d, name, { ...property, set(value) {
                if (notes === null || !isOurs(this)) {
                    change();
                    property.set.call(this, value);
                } else {
                    note(property.set, name, this, [value]);
                }
            }, get() {
                change();
                return property.get.call(this);
            } });
        } else if (typeof property.value === "function") {
            // Readings of a canvas, and whatever else a later engine may add.
            wrapMethod(context2d, name, (context, real, args) => {
                change();
                return real.apply(context, args);
            });
        }
    }
    // What a picture draws from: another canvas's pixels and a path change under it; the colour
    // filter and a pattern's placement are changed in step with the drawing.
    for (const name of Object.getOwnPropertyNames(Path2D.prototype))
        if (name !== "constructor")
            wrapMethod(Path2D.prototype, name, (path, real, args) => {
                change();
                return real.apply(path, args);
            });
    const noteOrDo = (target, real, args, name) => {
        if (notes === null) {
            change();
            return real.apply(target, args);
        }
        note(real, name, target, args);
    };
    // A page shown again may have dropped its canvas's pixels.
    document.addEventListener("visibilitychange", () => { changed = true; });
    wrapMethod(CanvasPattern.prototype, "setTransform",
               (pattern, real, args) => noteOrDo(pattern, real, args, "setTransform"));
    for (const name of ["setAttribute", "setAttributeNS"])
        wrapMethod(Element.prototype, name, (element, real, args) =>
            element instanceof SVGElement ? noteOrDo(element, real, args, name)
                                          : real.apply(element, args));

    return {
        // Runs one animation frame's callback with its drawing noted.
        frame(callback, time) {
            notes = [];
            try {
                callback(time);
            } finally {
                const these = notes;
                notes = null;
                const size = canvas ? canvas.width + "x" + canvas.height : "";
                if (these !== null && these.length > 0) {
                    if (!changed && size === lastSize && these.length === last.length &&
                        these.every((n, i) => sameNote(n, last[i]))) {
                        ++skipped;
                    } else {
                        these.forEach(carryOut);
                        last = these;
                        lastSize = size;
                        changed = false;
                    }
                }
            }
        },
        skipped() { return skipped; },
    };
})();
