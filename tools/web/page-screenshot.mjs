// Takes the README's pictures of the browser build in headless Chromium: the page at the main menu, and the
// page in play on a phone-sized touch screen with its on-screen controls.
// Usage (after make web): node tools/web/page-screenshot.mjs [page.png [phone.png]]
import { address, emulateTouch, fingers, installProbe, launch, root, serve, sleep, untilMenu, untilText,
  WHITE } from "../../tests/web/browser.mjs";
import path from "node:path";

const out = process.argv[2] || path.join(root, "docs/screenshots/web.png");
const phoneOut = process.argv[3] || path.join(root, "docs/screenshots/web-phone.png");
const server = await serve();
const browser = await launch();
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1000, height: 720 });
  await installProbe(page);
  await page.goto(address(server));
  await untilMenu(page);
  await sleep(500);
  await page.screenshot({ path: out });
  console.log(`wrote ${out}`);

  // Into play by keys, which hide the controls; a touch on the picture brings them back.
  const phone = await browser.newPage();
  await emulateTouch(phone, 844, 390, 1);
  await installProbe(phone);
  await phone.goto(address(server));
  await untilMenu(phone);
  for (const key of ["Enter", "Enter"]) {
    await sleep(1500);
    await phone.keyboard.press(key, { delay: 100 });
  }
  await untilText(phone, "Time left:", WHITE, 10000);
  await sleep(1500);
  await (await fingers(phone)).tap([422, 195]);
  await sleep(300);
  await phone.screenshot({ path: phoneOut });
  console.log(`wrote ${phoneOut}`);
} finally {
  await browser.close();
  server.close();
}
