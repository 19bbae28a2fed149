// Takes the README's picture of the browser build: the page at the main menu, in headless Chromium.
// Usage (after make web): node tools/web/page-screenshot.mjs [out.png]
import { address, installProbe, launch, menuPicture, root, serve, sleep, until } from "../../tests/web/browser.mjs";
import path from "node:path";

const out = process.argv[2] || path.join(root, "docs/screenshots/web.png");
const server = await serve();
const browser = await launch();
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1000, height: 720 });
  await installProbe(page);
  await page.goto(address(server));
  const menu = menuPicture();
  await until("the main menu", async () => (await page.evaluate((url) => window.kesProbe.likeness(url), menu)) > 0.97);
  await sleep(500);
  await page.screenshot({ path: out });
  console.log(`wrote ${out}`);
} finally {
  await browser.close();
  server.close();
}
