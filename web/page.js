// The page around the show: the start screen with the setup dialog's choices, the download of
// KaMora.ppk, a fresh instance of the show (kamora.js) for every Play, full screen, the show's
// messages, and the modes the query asks for:
//   ?nodialog             only the Play button (sound starts on a click in any browser)
//   ?ddebug               the show's trace in the console
//   ?at=5,42&size=WxH     still frames on the virtual clock, one after the other: each is on the
//                         canvas when it says data-state="drawn"; data-state="next" asks for the next
//   ?bench[&size=WxH]     frame times per slot, in the console and in window.kamora.report
//   ?tap                  the sound handed to Web Audio against the show's music position
//   ?package=NAME         another package file (tests)
// window.kamora holds what a driver reads: timings, reports, frame count and the sync figures.
"use strict";
(function () {
  const query = new URLSearchParams(location.search);
  const stillMode = query.has("at") || query.has("bench");
  const packageName = query.get("package") || "KaMora.ppk";
  const byId = (id) => document.getElementById(id);
  const start = byId("start"), stage = byId("stage"), playButton = byId("play");
  const run = { clickAt: 0, downloadedAt: 0, firstFrameAt: 0, frames: 0, code: null, report: [], sync: null };
  window.kamora = run;
  // The show's music position in seconds (null between shows).
  run.position = () => (show && show._KaMoraMusicPosition ? show._KaMoraMusicPosition() / 176400 : null);
  run.audioState = () => show?.SDL2?.audioContext?.state;
  let show = null;          // the running instance's Module, null between shows
  let showFullScreen = false;  // what the show last asked for
  let leavingFullScreen = false;

  function setState(state) { document.body.dataset.state = state; }

  function message(caption, text, error) {
    console.log(`${caption}: ${text}`);
    const box = document.createElement("div");
    box.className = "message" + (error ? " error" : "");
    const title = document.createElement("b");
    title.textContent = caption;
    const close = document.createElement("button");
    close.type = "button";
    close.textContent = "\u00d7";
    close.title = "Close";
    close.onclick = () => box.remove();
    box.append(title, text, close);
    byId("messages").append(box);
  }

  // --- The package, downloaded once with its progress shown, kept for every play ---------------
  let packagePromise = null;
  function showProgress(got, total) {
    const mb = (n) => (n / 1048576).toFixed(1);
    byId("bar").style.width = total ? `${Math.min(100, (100 * got) / total)}%` : "100%";
    byId("downloaded").textContent = total ? `${mb(got)} of ${mb(total)} MB` : `${mb(got)} MB`;
  }
  function downloadPackage() {
    if (packagePromise) return packagePromise;
    byId("download").hidden = false;
    const began = performance.now();
    packagePromise = (async () => {
      const response = await fetch(packageName);
      if (!response.ok) throw new Error(`${response.status} ${response.statusText}`);
      const total = Number(response.headers.get("Content-Length")) || 0;
      const reader = response.body.getReader();
      const parts = [];
      let got = 0;
      for (;;) {
        const { done, value } = await reader.read();
        if (done) break;
        parts.push(value);
        got += value.length;
        showProgress(got, total);
      }
      const bytes = new Uint8Array(got);
      let at = 0;
      for (const part of parts) { bytes.set(part, at); at += part.length; }
      run.downloadMs = performance.now() - began;
      return bytes;
    })();
    packagePromise.catch((error) => {
      message("Download", `${packageName} could not be downloaded: ${error.message}`, true);
      packagePromise = null;
    });
    return packagePromise;
  }

  // --- The program: compiled once, instantiated afresh for every play -------------------------
  let compiled = null;
  function compileProgram() {
    if (!compiled)
      compiled = fetch("kamora.wasm").then((r) => {
        if (!r.ok) throw new Error(`kamora.wasm: ${r.status} ${r.statusText}`);
        return r.arrayBuffer();
      }).then((bytes) => WebAssembly.compile(bytes));
    return compiled;
  }
  function programScript() {
    return new Promise((resolve) => {
      if (window.KaMoraShow) return resolve();
      document.querySelector('script[src="kamora.js"]').addEventListener("load", () => resolve());
    });
  }

  // --- Full screen: the stage (canvas and bars) through the Fullscreen API ----------------------
  function setFullScreen(on) {
    showFullScreen = on;
    if (on && !document.fullscreenElement) {
      stage.requestFullscreen().catch(() => {
        // Refused (no click just before): the show hears it as a switch back.
        if (show && showFullScreen) show.page.toggleFullScreen = true;
      });
    } else if (!on && document.fullscreenElement) {
      leavingFullScreen = true;
      document.exitFullscreen().catch(() => {});
    }
  }
  document.addEventListener("fullscreenchange", () => {
    // Left by the browser itself (Escape, its own controls): the show switches its state too.
    if (!document.fullscreenElement && !leavingFullScreen && show && showFullScreen) show.page.toggleFullScreen = true;
    if (!document.fullscreenElement) leavingFullScreen = false;
  });
  // Escape in full screen only leaves it, whether or not the browser takes the key itself; the
  // next Escape reaches the show and ends it. (Seen before the show's own handler.)
  window.addEventListener("keydown", (e) => {
    if (e.key !== "Escape" || !document.fullscreenElement || !show) return;
    e.preventDefault();
    e.stopImmediatePropagation();
    document.exitFullscreen().catch(() => {});
  }, true);
  byId("fullscreen-button").addEventListener("click", () => {
    if (show) show.page.toggleFullScreen = true;  // the show switches, as on Alt+Enter
    byId("canvas")?.focus();
  });

  // --- One play --------------------------------------------------------------------------------
  function readChoices() {
    const [width, height] = byId("size").value.split("x").map(Number);
    return { width, height, fullScreen: byId("fullscreen").checked, sound: byId("sound").checked,
             loop: byId("loop").checked };
  }

  function makeCanvas() {
    byId("canvas")?.remove();
    const canvas = document.createElement("canvas");
    canvas.id = "canvas";
    canvas.tabIndex = -1;
    canvas.oncontextmenu = (e) => e.preventDefault();
    const size = /^(\d+)x(\d+)$/.exec(query.get("size") || "640x480");
    if (stillMode && size) {
      // Still and bench frames: the canvas at the asked size, one CSS pixel a pixel.
      stage.classList.add("still");
      canvas.style.width = `${size[1]}px`;
      canvas.style.height = `${size[2]}px`;
    }
    stage.prepend(canvas);
    return canvas;
  }

  function ended(code) {
    run.code = code;
    const finished = show;
    show = null;
    if (finished.tap) run.sync = finished.tap.figures();
    try { finished.SDL2?.audioContext?.close(); } catch (e) { /* already closed */ }
    if (document.fullscreenElement) { leavingFullScreen = true; document.exitFullscreen().catch(() => {}); }
    if (!stillMode) {
      byId("canvas")?.remove();
      stage.hidden = true;
      start.hidden = false;
      playButton.disabled = false;
      playButton.focus();
    }
    setState("ended");
  }

  async function play() {
    if (show) return;
    run.clickAt = performance.now();
    run.firstFrameAt = 0;
    run.frames = 0;
    const choices = readChoices();
    playButton.disabled = true;
    // The show's AudioContext is made here, inside the click, so that every browser lets it play;
    // SDL takes the one it finds.
    const audioContext = stillMode ? null : new AudioContext();
    // Full screen must be asked for inside the click; the show finds it granted.
    if (choices.fullScreen && !stillMode) stage.requestFullscreen().catch(() => {});
    setState("loading");
    let bytes, program;
    try {
      [bytes, program] = await Promise.all([downloadPackage(), compileProgram(), programScript()]);
    } catch (error) {
      if (error.message) message("Ka Mora", `The show could not be loaded: ${error.message}`, true);
      audioContext?.close();
      playButton.disabled = false;
      setState("start");
      return;
    }
    run.downloadedAt = performance.now();
    const tap = query.has("tap") && audioContext ? await startTap(audioContext) : null;
    start.hidden = true;
    stage.hidden = false;  // shown before the show starts: the canvas takes the stage's size
    const canvas = makeCanvas();
    canvas.focus();
    show = {
      canvas,
      page: {
        choices, query: location.search, toggleFullScreen: false,
        fullScreen: setFullScreen,
        message,
        ended,
        report(line) { run.report.push(line); console.log(line); },
        frameShown() {
          run.frames++;
          if (run.firstFrameAt) return;
          run.firstFrameAt = performance.now();
          setState("playing");
        },
      },
      SDL2: audioContext ? { audioContext } : undefined,
      tap,
      print: (line) => console.log(line),
      printErr: (line) => console.warn(line),
      preRun: [(module) => module.FS.writeFile("/KaMora.ppk", bytes)],
      instantiateWasm(imports, receive) {
        WebAssembly.instantiate(program, imports).then((instance) => receive(instance, program));
        return {};
      },
    };
    tap?.follow(show);
    window.KaMoraShow(show);
  }

  // --- ?tap: every click of a click track handed to Web Audio, against the music position -------
  // The tap (an AudioWorklet beside the destination) stamps each click's first loud sample with the
  // context's time; the page samples the show's music position and the context's clock at every
  // display frame. A click is heard at its context time plus the context's base and output
  // latency; the position read at that moment, less the click's place in the track, is the error.
  async function startTap(context) {
    const onsets = [], positions = [], clocks = [];
    let latency = 0, module = null, tapped = false;
    const worklet = `registerProcessor("kamora-tap", class extends AudioWorkletProcessor {
      constructor() { super(); this.quiet = 1e9; }
      process(inputs) {
        const samples = inputs[0] && inputs[0][0];
        if (!samples) { this.quiet += 128; return true; }
        for (let i = 0; i < samples.length; ++i) {
          if (Math.abs(samples[i]) < 0.25) { this.quiet++; continue; }
          if (this.quiet > sampleRate / 2) this.port.postMessage(currentTime + i / sampleRate);
          this.quiet = 0;
        }
        return true;
      }
    });`;
    // Loaded before the show starts: a worklet can take seconds to come up on a busy machine.
    await context.audioWorklet.addModule(URL.createObjectURL(new Blob([worklet], { type: "text/javascript" })));
    const tap = new AudioWorkletNode(context, "kamora-tap");
    tap.port.onmessage = (e) => onsets.push(e.data);
    tap.connect(context.destination);  // silent; connected so that the graph runs it
    function sample() {
      if (module !== show) return;
      const node = module.SDL2?.audio?.scriptProcessorNode;
      if (node && !tapped) { node.connect(tap); tapped = true; }
      if (tapped && module._KaMoraMusicPosition) {
        const now = performance.now();
        clocks.push([now, context.currentTime]);
        positions.push([now, module._KaMoraMusicPosition() / 176400]);
        latency = (context.baseLatency || 0) + (context.outputLatency || 0);
      }
      requestAnimationFrame(sample);
    }
    // performance.now() at which the context rendered `time`: the context's clock is read a little
    // late now and then, never early, so the least offset nearby is the truest.
    function renderedAt(time) {
      let best = Infinity;
      for (const [now, clock] of clocks)
        if (Math.abs(clock - time) < 2) best = Math.min(best, now - 1000 * clock);
      return 1000 * time + best;
    }
    // The position at `now`, between the two readings around it, and how far apart they are.
    function positionAt(now) {
      for (let i = 1; i < positions.length; ++i) {
        const [t0, p0] = positions[i - 1], [t1, p1] = positions[i];
        if (t1 >= now && t0 <= now)
          return { position: t1 > t0 ? p0 + ((p1 - p0) * (now - t0)) / (t1 - t0) : p1, gapMs: t1 - t0 };
      }
      return { position: NaN, gapMs: Infinity };
    }
    return {
      follow(instance) { module = instance; requestAnimationFrame(sample); },
      figures() {
        const clicks = [];
        for (const onset of onsets) {
          const heard = renderedAt(onset) + 1000 * latency;
          const { position, gapMs } = positionAt(heard);
          if (!Number.isFinite(position)) continue;
          const click = Math.round(position - 0.5) + 0.5;  // a click every second, half a second in
          clicks.push({ click, errorMs: 1000 * (position - click), gapMs });
        }
        const errors = clicks.map((c) => c.errorMs);
        const mean = errors.reduce((a, b) => a + b, 0) / (errors.length || 1);
        // Drift: the least-squares slope of the error over the track, in ms per minute.
        const xs = clicks.map((c) => c.click), mx = xs.reduce((a, b) => a + b, 0) / (xs.length || 1);
        let sxy = 0, sxx = 0;
        clicks.forEach((c, i) => { sxy += (c.click - mx) * (errors[i] - mean); sxx += (c.click - mx) ** 2; });
        return { onsets: onsets.length, clicks, latencyMs: 1000 * latency, mean, min: Math.min(...errors), max: Math.max(...errors),
                 driftMsPerMinute: sxx ? (60 * sxy) / sxx : 0 };
      },
    };
  }

  // --- The start screen ------------------------------------------------------------------------
  playButton.addEventListener("click", play);
  if (query.has("nodialog")) byId("choices").hidden = true;
  if (stillMode) {
    play();  // nothing to hear: no click needed
  } else {
    downloadPackage();  // while the viewer picks
    compileProgram().catch((error) => message("Ka Mora", `kamora.wasm: ${error.message}`, true));
  }
})();
