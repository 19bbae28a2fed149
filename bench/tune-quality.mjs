// What packing the tunes at a lower Vorbis quality changes: each tune rendered uncompressed (the reference)
// and at several qualities, decoded by Chromium as the page decodes it, and compared band by band (third
// octaves from 50 Hz to 20 kHz). Prints each quality's size and two differences in dB: of the whole tune's
// spectrum, and frame by frame (93 ms frames), the mean over bands up to 16 kHz, and the highest band the
// packed tune keeps within 3 dB.
// Usage: node bench/tune-quality.mjs [build folder] [qualities...]   (after the normal build's kes_music)
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, readdirSync, rmSync, statSync } from "node:fs";
import { tmpdir } from "node:os";
import path from "node:path";
import { launch, root } from "../tests/web/browser.mjs";

const build = path.resolve(process.argv[2] || path.join(root, "build"));
const qualities = process.argv.length > 3 ? process.argv.slice(3) : ["0.5", "0.3", "0.2", "0.1", "0.0"];
const tool = path.join(build, "tools/audio/kes_music");
const scratch = mkdtempSync(path.join(tmpdir(), "kestrovane-tunes-"));

// Runs in the page: decodes both files and compares their band energies.
function compare(referenceBase64, packedBase64) {
  const decode = async (base64) => {
    const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    const context = new OfflineAudioContext(2, 44100, 44100);
    const buffer = await context.decodeAudioData(bytes.buffer);
    const left = buffer.getChannelData(0);
    const right = buffer.getChannelData(1);
    return left.map((value, i) => (value + right[i]) / 2);
  };
  const SIZE = 4096;
  const fft = (re, im) => {
    for (let i = 1, j = 0; i < SIZE; ++i) {
      let bit = SIZE >> 1;
      for (; j & bit; bit >>= 1) j ^= bit;
      j ^= bit;
      if (i < j) [re[i], re[j], im[i], im[j]] = [re[j], re[i], im[j], im[i]];
    }
    for (let len = 2; len <= SIZE; len <<= 1) {
      const angle = (-2 * Math.PI) / len;
      for (let i = 0; i < SIZE; i += len)
        for (let k = 0; k < len / 2; ++k) {
          const wr = Math.cos(angle * k);
          const wi = Math.sin(angle * k);
          const a = i + k;
          const b = a + len / 2;
          const tr = re[b] * wr - im[b] * wi;
          const ti = re[b] * wi + im[b] * wr;
          re[b] = re[a] - tr; im[b] = im[a] - ti;
          re[a] += tr; im[a] += ti;
        }
    }
  };
  const bands = [];
  for (let f = 50; f < 20000; f *= 2 ** (1 / 3)) bands.push([f, f * 2 ** (1 / 3)]);
  const bandEnergies = (samples) => {
    const frames = [];
    for (let start = 0; start + SIZE <= samples.length; start += SIZE) {
      const re = new Float64Array(SIZE);
      const im = new Float64Array(SIZE);
      for (let i = 0; i < SIZE; ++i) re[i] = samples[start + i] * (0.5 - 0.5 * Math.cos((2 * Math.PI * i) / SIZE));
      fft(re, im);
      frames.push(bands.map(([low, high]) => {
        let sum = 1e-12;
        for (let bin = Math.ceil((low * SIZE) / 44100); bin < (high * SIZE) / 44100; ++bin) sum += re[bin] ** 2 + im[bin] ** 2;
        return sum;
      }));
    }
    return frames;
  };
  const dB = (a, b) => 10 * Math.log10(a / b);
  return Promise.all([decode(referenceBase64), decode(packedBase64)]).then(([reference, packed]) => {
    const ref = bandEnergies(reference);
    const out = bandEnergies(packed);
    const frames = Math.min(ref.length, out.length);
    const audible = bands.filter(([low]) => low < 16000).length;
    const whole = bands.map((_, b) => {
      let r = 0;
      let o = 0;
      for (let f = 0; f < frames; ++f) { r += ref[f][b]; o += out[f][b]; }
      return dB(o, r);
    });
    let framewise = 0;
    for (let f = 0; f < frames; ++f)
      for (let b = 0; b < audible; ++b) framewise += Math.abs(dB(out[f][b], ref[f][b]));
    const kept = bands.filter((_, b) => Math.abs(whole[b]) <= 3).map(([, high]) => high);
    return {
      whole: whole.slice(0, audible).reduce((sum, d) => sum + Math.abs(d), 0) / audible,
      framewise: framewise / frames / audible,
      keptTo: Math.round(Math.max(...kept)),
    };
  });
}

const browser = await launch();
try {
  const page = await browser.newPage();
  await page.goto("about:blank");
  const songs = readdirSync(path.join(root, "assets/music")).filter((name) => name.endsWith(".song")).sort();
  console.log("tune         quality      size   kbit/s   whole-tune dB   frame dB   kept to (Hz)");
  for (const song of songs) {
    const stem = song.replace(/\.song$/, "");
    const source = path.join(root, "assets/music", song);
    const wav = path.join(scratch, `${stem}.wav`);
    execFileSync(tool, [source, wav]);
    const reference = readFileSync(wav).toString("base64");
    const seconds = (statSync(wav).size - 44) / 4 / 44100;
    for (const quality of qualities) {
      const ogg = path.join(scratch, `${stem}-${quality}.ogg`);
      execFileSync(tool, [source, ogg, quality]);
      const size = statSync(ogg).size;
      const result = await page.evaluate(compare, reference, readFileSync(ogg).toString("base64"));
      console.log(`${stem.padEnd(12)} ${quality.padStart(7)} ${(size / 1024).toFixed(0).padStart(7)} kB ${(size * 8 / seconds / 1000).toFixed(0).padStart(6)}` +
        `   ${result.whole.toFixed(2).padStart(13)}   ${result.framewise.toFixed(2).padStart(8)}   ${String(result.keptTo).padStart(12)}`);
    }
  }
} finally {
  await browser.close();
  rmSync(scratch, { recursive: true, force: true });
}
