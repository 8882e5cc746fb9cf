"use strict";
// The glue between the control and Ruffle: runs the control's commands on the one player
// element and reports the movie's state whenever it changes.
(function () {
    const kPollMs = 100;
    // While a movie loads the program waits on every step; its state is read far more often.
    const kLoadingPollMs = 10;
    const kLoadingFastMs = 3000;
    // How long a patched movie has to offer its callbacks before its frames follow the clock.
    const kCallbackWaitMs = 2000;
    const kSleepAfterMs = 300;
    const stage = document.getElementById("stage");
    let bridge = null;
    let player = null;
    let movie = null;
    let volume = 1;
    let lastReport = "";
    const state = { seq: 0, ruffle: 0, meta: false, total: 0, frame: 0, playing: false,
                    exact: false };

    const frames = lumoraFrames;
    frames.watch(stage);

    function api() { return player ? player.ruffle() : null; }
    // A movie asleep changes only through commands, which poll: the regular poll sleeps too.
    function suspendMovie() {
        api().suspend();
        frames.sleep();
    }
    function resumeMovie() {
        frames.wake();
        api().resume();
    }
    function hasCallbacks() { return !!player && typeof player.lumoraFrame === "function"; }

    function report(force) {
        const text = JSON.stringify(state);
        if (bridge && (force || text !== lastReport)) {
            lastReport = text;
            bridge.report(JSON.parse(text));
        }
    }

    function bytesResponse(body, href) {
        const type = new URL(href).pathname.endsWith(".wasm") ? "application/wasm"
                                                               : "application/octet-stream";
        const response = new Response(body, { status: 200, headers: { "Content-Type": type } });
        Object.defineProperty(response, "url", { value: href });
        return response;
    }

    function withoutQuery(href) {
        const url = new URL(href, document.baseURI);
        url.search = "";
        url.hash = "";
        return url.href;
    }

    // A shell asks for its content at the movie's own address: the page has the bytes already.
    // Ruffle reads local files with fetch(), which Chromium refuses for file: addresses; the
    // page may still read them with XMLHttpRequest. Only a local movie may read local files,
    // as in the Flash player's sandbox; Ruffle's own files are always readable.
    const realFetch = window.fetch.bind(window);
    window.fetch = function (input, init) {
        const url = new URL(input instanceof Request ? input.url : String(input), document.baseURI);
        if (movie && movie.content && withoutQuery(url.href) === withoutQuery(movie.address))
            return Promise.resolve(bytesResponse(movie.content, url.href));
        if (url.protocol !== "file:")
            return realFetch(input, init);
        if (!url.href.startsWith(document.baseURI) && !(movie && movie.local))
            return Promise.reject(new TypeError("a network movie may not read " + url.href));
        return new Promise((resolve, reject) => {
            const xhr = new XMLHttpRequest();
            xhr.open("GET", url.href);
            xhr.responseType = "arraybuffer";
            xhr.onload = () => resolve(bytesResponse(xhr.response, url.href));
            xhr.onerror = () => reject(new TypeError("cannot read " + url.href));
            xhr.send();
        });
    };

    // Whether the player's last movie got as far as its metadata: damaged bytes (a cut LZMA
    // stream) can break the player for good, so one that failed is replaced.
    let playerSound = true;

    function ensurePlayer() {
        if (player && !playerSound) {
            player.remove();
            player = null;
        }
        playerSound = false;
        if (player)
            return;
        player = window.RufflePlayer.newest().createPlayer();
        player.addEventListener("loadedmetadata", () => {
            playerSound = true;
            if (movie)
                movie.meta = true;
        });
        // The program has its own play button: Ruffle's would cover a paused movie.
        const own = document.createElement("style");
        own.textContent = "#play-button { display: none !important; }";
        player.shadowRoot.appendChild(own);
        stage.appendChild(player);
    }

    // Time-based frame for movies without frame callbacks: right only for a movie that plays
    // its timeline straight through.
    function roughFrame(now) {
        const total = state.total;
        if (total <= 0)
            return 0;
        const playedMs = movie.playedMs + (movie.since !== null ? now - movie.since : 0);
        const raw = movie.base + Math.floor(playedMs * movie.frameRate / 1000);
        if (movie.loop)
            return raw % total;
        if (raw >= total - 1 && movie.since !== null) {
            movie.playedMs += now - movie.since;
            movie.since = null;
        }
        return Math.min(raw, total - 1);
    }

    function pause(now) {
        if (movie.since !== null) {
            movie.playedMs += now - movie.since;
            movie.since = null;
        }
    }

    function applyPending(exact) {
        if (movie.instrumented && !exact && performance.now() > movie.callbackDeadline)
            movie.instrumented = false; // the patched movie never offered its callbacks
        if (movie.instrumented && !exact)
            return;
        // A goto now would move a shell's empty clip and be lost: the commands wait.
        if (exact && !movie.contentIn)
            return;
        const now = performance.now();
        const moved = movie.pendingGoto !== null || movie.pendingPlay !== null;
        if (movie.pendingGoto !== null) {
            const frame = movie.pendingGoto;
            const play = movie.pendingPlay !== null ? movie.pendingPlay : state.playing;
            if (exact) {
                wake();
                player.lumoraGoto(frame + 1, play);
            } else {
                movie.base = Math.min(frame, Math.max(state.total - 1, 0));
                movie.playedMs = 0;
                movie.since = play ? now : null;
            }
            movie.pendingGoto = null;
        }
        if (movie.pendingPlay !== null) {
            if (exact) {
                if (movie.pendingPlay) {
                    wake();
                    player.lumoraPlay();
                } else {
                    player.lumoraStop();
                }
            } else if (movie.pendingPlay) {
                resumeMovie();
                if (movie.since === null)
                    movie.since = now;
            } else {
                pause(now);
                suspendMovie();
            }
            movie.pendingPlay = null;
        }
        if (exact && moved && !state.playing)
            sleepSoon(movie);
    }

    // A stopped timeline still runs and draws every frame in Ruffle; a paused movie sleeps
    // once its held frame is on the screen, and wakes for the next command that moves it.
    let sleepTimer = null;
    function wake() {
        clearTimeout(sleepTimer);
        sleepTimer = null;
        resumeMovie();
    }
    function sleepSoon(current) {
        clearTimeout(sleepTimer);
        sleepTimer = setTimeout(() => {
            sleepTimer = null;
            if (movie === current && !state.playing && api())
                suspendMovie();
        }, kSleepAfterMs);
    }

    // A hidden page draws nothing and its movie stands still, yet a running emulator kept its
    // sound device busy (the blank movie behind the audio page did). It rests until shown.
    let restingHidden = false;
    function restWhileHidden() {
        if (document.hidden && settled() && api().isPlaying) {
            suspendMovie();
            restingHidden = true;
        }
    }
    document.addEventListener("visibilitychange", () => {
        if (document.hidden || !restingHidden)
            return;
        restingHidden = false;
        if (movie && state.playing)
            resumeMovie();
    });

    function poll() {
        const a = api();
        if (movie && a) {
            state.ruffle = a.readyState || 0;
            state.meta = movie.meta && !!a.metadata;
            if (state.meta && state.total === 0) {
                state.total = a.metadata.numFrames || 0;
                movie.frameRate = a.metadata.frameRate || 12;
                // Only the 2D renderer tells when it draws.
                frames.pace(preferredRenderer() === "canvas" ? movie.frameRate : 0);
            }
            if (state.ruffle === 2 && state.meta) {
                if (!movie.started) {
                    movie.started = true;
                    movie.callbackDeadline = performance.now() + kCallbackWaitMs;
                    console.info("lumora host: " + movie.name + " runs, " + state.total + " frames");
                    if (movie.autoplay)
                        movie.since = performance.now();
                }
                try {
                    const exact = hasCallbacks();
                    // A shell answers before its content is in and counts no frames until then.
                    const counted = exact ? Number(player.lumoraTotal()) : 0;
                    movie.contentIn = counted > 0;
                    applyPending(exact);
                    state.exact = exact;
                    if (exact) {
                        state.total = counted || state.total;
                        state.frame = Math.max(Number(player.lumoraFrame()) - 1, 0);
                        state.playing = !!player.lumoraIsPlaying();
                    } else {
                        state.frame = roughFrame(performance.now());
                        state.playing = movie.since !== null;
                    }
                    // Commands still waiting stand for what they will do.
                    if (movie.pendingGoto !== null)
                        state.frame = movie.pendingGoto;
                    if (movie.pendingPlay !== null)
                        state.playing = movie.pendingPlay;
                } catch (e) {
                    console.error("lumora host: " + e);
                }
            }
        }
        report(false);
        if (movie)
            restWhileHidden();
        if (movie && !settled() && performance.now() - movie.loadStart < kLoadingFastMs)
            pollSoon();
    }

    // Loaded, and its frames known as well as they will be.
    function settled() {
        return state.ruffle === 2 && state.meta && (!movie.instrumented || state.exact) &&
               (!state.exact || movie.contentIn);
    }

    let loadingTimer = null;
    function pollSoon() {
        if (loadingTimer === null)
            loadingTimer = setTimeout(() => { loadingTimer = null; poll(); }, kLoadingPollMs);
    }

    // Decoded here: a fetch of a data address goes through the browser's thread, the window's.
    function decode(base64) {
        return new Promise(resolve => {
            const text = atob(base64);
            const bytes = new Uint8Array(text.length);
            for (let i = 0; i < text.length; ++i)
                bytes[i] = text.charCodeAt(i);
            resolve(bytes);
        });
    }

    // Without a graphics driver the engine refuses WebGL, and Ruffle would ask for it three
    // times for every movie before it settles on its 2D canvas. Asked once, it goes there.
    let rendererChoice;
    function preferredRenderer() {
        if (rendererChoice === undefined) {
            const probe = document.createElement("canvas");
            const gl = probe.getContext("webgl2") || probe.getContext("webgl");
            rendererChoice = gl ? null : "canvas";
            gl?.getExtension("WEBGL_lose_context")?.loseContext();
        }
        return rendererChoice;
    }

    const commands = {
        load(options, base64, contentBase64) {
            ensurePlayer();
            console.info("lumora host: load " + options.name);
            movie = { name: options.name, meta: false, instrumented: options.instrumented,
                      local: options.local, address: options.address, content: null,
                      loadStart: performance.now(), callbackDeadline: Infinity, contentIn: false,
                      loop: options.loop, frameRate: 12, base: 0, playedMs: 0, since: null,
                      started: false, autoplay: options.playing, pendingGoto: null,
                      pendingPlay: options.playing ? null : false };
            const current = movie;
            frames.pace(0);
            state.ruffle = 0; state.meta = false; state.total = 0; state.frame = 0;
            state.playing = options.playing; state.exact = false;
            player.style.visibility = "visible";
            pollSoon();
            Promise.all([decode(base64), decode(contentBase64 || "")]).then(([data, content]) => {
                if (movie !== current)
                    return;
                if (content.length > 0)
                    current.content = content;
                const a = api();
                a.volume = volume;
                resumeMovie();
                return a.load({ data: data, parameters: options.parameters, base: options.base,
                                swfFileName: options.name, scale: options.scale,
                                backgroundColor: options.backgroundColor,
                                allowScriptAccess: true, allowFullscreen: true, autoplay: "on",
                                preferredRenderer: preferredRenderer(),
                                splashScreen: false, unmuteOverlay: "hidden", contextMenu: "off",
                                letterbox: "off", showSwfDownload: false,
                                warnOnUnsupportedContent: false, allowNetworking: "all" });
            }).catch(e => console.error("lumora host: " + e));
        },
        blank() {
            movie = null;
            state.ruffle = 0; state.meta = false; state.total = 0; state.frame = 0;
            state.playing = false; state.exact = false;
            if (player) {
                suspendMovie();
                player.style.visibility = "hidden";
            }
        },
        play() { if (movie) { movie.pendingPlay = true; state.playing = true; poll(); } },
        stop(frame) {
            if (!movie)
                return;
            movie.pendingPlay = false;
            state.playing = false;
            // Frames that follow the clock hold where the program last saw them, not one later.
            if (frame !== undefined && !hasCallbacks()) {
                movie.pendingGoto = frame;
                state.frame = frame;
            }
            poll();
        },
        gotoFrame(frame) {
            if (!movie)
                return;
            movie.pendingGoto = frame;
            state.frame = frame;
            poll();
        },
    };

    window.lumoraHost = {
        run(seq, name, args) {
            try {
                commands[name].apply(null, args);
            } finally {
                state.seq = seq; // even after a failure, so that the reports still count
                report(true);
            }
        },
        setVolume(value) {
            volume = value;
            const a = api();
            if (a)
                a.volume = value;
        },
        // Calls a callback of the movie; the answer is JSON text so that undefined survives.
        call(name, args) {
            if (!player || !Object.prototype.hasOwnProperty.call(player, name))
                return JSON.stringify({ ok: false, error: "no callback " + name });
            try {
                const value = api().callExternalInterface(name, ...args);
                return JSON.stringify(value === undefined ? { ok: true, undefined: true }
                                                          : { ok: true, value: value });
            } catch (e) {
                return JSON.stringify({ ok: false, error: String(e) });
            }
        },
    };

    new QWebChannel(qt.webChannelTransport, channel => {
        bridge = channel.objects.flash;
        bridge.report({ host: "ready" });
        frames.whileAwake(poll, kPollMs);
    });
})();
