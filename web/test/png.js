// Reads 8-bit, non-interlaced PNG images (grey, RGB, RGBA) into RGBA pixels: enough for the
// canvas images of Chromium and the images kvtool render writes.
'use strict';
const zlib = require('node:zlib');

function paeth(a, b, c) {
  const p = a + b - c;
  const pa = Math.abs(p - a);
  const pb = Math.abs(p - b);
  const pc = Math.abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

function decodePng(buffer) {
  if (buffer.readUInt32BE(0) !== 0x89504e47) throw new Error('not a PNG image');
  let offset = 8;
  let width = 0;
  let height = 0;
  let colourType = 0;
  const data = [];
  while (offset < buffer.length) {
    const length = buffer.readUInt32BE(offset);
    const type = buffer.toString('latin1', offset + 4, offset + 8);
    const body = buffer.subarray(offset + 8, offset + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[12] !== 0) throw new Error('unsupported PNG layout');
      colourType = body[9];
    } else if (type === 'IDAT') {
      data.push(body);
    }
    offset += 12 + length;
  }
  const channels = { 0: 1, 2: 3, 4: 2, 6: 4 }[colourType];
  if (!channels) throw new Error('unsupported PNG colour type ' + colourType);
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const lines = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const src = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    const out = lines.subarray(y * stride, (y + 1) * stride);
    const prev = y > 0 ? lines.subarray((y - 1) * stride, y * stride) : Buffer.alloc(stride);
    for (let i = 0; i < stride; ++i) {
      const a = i >= channels ? out[i - channels] : 0;
      const b = prev[i];
      const c = i >= channels ? prev[i - channels] : 0;
      const predictor = [0, a, b, (a + b) >> 1, paeth(a, b, c)][filter];
      out[i] = (src[i] + predictor) & 0xff;
    }
  }
  const rgba = new Uint8Array(width * height * 4);
  for (let p = 0; p < width * height; ++p) {
    const s = lines.subarray(p * channels, (p + 1) * channels);
    const grey = channels <= 2;
    rgba[4 * p] = s[0];
    rgba[4 * p + 1] = grey ? s[0] : s[1];
    rgba[4 * p + 2] = grey ? s[0] : s[2];
    rgba[4 * p + 3] = channels === 4 ? s[3] : channels === 2 ? s[1] : 255;
  }
  return { width, height, rgba };
}

module.exports = { decodePng };
