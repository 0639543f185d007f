// Start-up and shut-down, memory for the object layer, matrices and shared helpers.
#include "platform/gdiplus/GdiPlusFlat.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include "platform/gdiplus/GdiPlusObjects.h"

namespace {

int gStartCount = 0;
std::uintptr_t gNextToken = 1;

Status HookProc(std::uintptr_t* token) {
  if (!token) return InvalidParameter;
  *token = 0x600D;
  return Ok;
}

void UnhookProc(std::uintptr_t) {}

}  // namespace

bool GdipIsStarted() { return gStartCount > 0; }

Status GdiplusStartup(std::uintptr_t* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output) {
  if (!token || !input) return InvalidParameter;
  if (input->GdiplusVersion < 1 || input->GdiplusVersion > 3) return UnsupportedGdiplusVersion;
  if (input->SuppressBackgroundThread) {
    // Without its own thread GDI+ hands the caller the hook to run on its thread.
    if (!output) return InvalidParameter;
    output->NotificationHook = HookProc;
    output->NotificationUnhook = UnhookProc;
  } else if (output) {
    output->NotificationHook = nullptr;
    output->NotificationUnhook = nullptr;
  }
  ++gStartCount;
  *token = gNextToken++;
  return Ok;
}

void GdiplusShutdown(std::uintptr_t token) {
  if (token != 0 && gStartCount > 0) --gStartCount;
}

void* GdipAlloc(std::size_t size) {
  if (!GdipIsStarted()) return nullptr;
  return std::malloc(size ? size : 1);
}

void GdipFree(void* ptr) { std::free(ptr); }

// ---- helpers ------------------------------------------------------------------------------

bool ValidFloat(double v) { return std::isfinite(v); }

ARGB LerpArgb(ARGB a, ARGB b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  ARGB out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const double ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    out |= ARGB(std::lround(ca + (cb - ca) * t)) << shift;
  }
  return out;
}

std::string Utf16ToUtf8(const char16_t* text, int length) {
  std::string out;
  if (!text) return out;
  if (length < 0) {
    length = 0;
    while (text[length]) ++length;
  }
  out.reserve(std::size_t(length));
  for (int i = 0; i < length; ++i) {
    char32_t c = text[i];
    if (c == 0) break;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;  // unpaired surrogate
    }
    if (c < 0x80) {
      out += char(c);
    } else if (c < 0x800) {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += char(0xE0 | (c >> 12));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    } else {
      out += char(0xF0 | (c >> 18));
      out += char(0x80 | ((c >> 12) & 0x3F));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

cairo_surface_t* NewImageSurface(int w, int h) {
  if (w <= 0 || h <= 0) return nullptr;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  return s;
}

// ---- matrices ----------------------------------------------------------------------------------

namespace {

bool ValidOrder(MatrixOrder order) { return order == MatrixOrderPrepend || order == MatrixOrderAppend; }

// Combines m with op: prepend applies op first (op * m in GDI+ row-vector terms).
void Apply(cairo_matrix_t& m, const cairo_matrix_t& op, MatrixOrder order) {
  cairo_matrix_t r;
  if (order == MatrixOrderPrepend)
    cairo_matrix_multiply(&r, &op, &m);
  else
    cairo_matrix_multiply(&r, &m, &op);
  m = r;
}

}  // namespace

Status GdipCreateMatrix(GpMatrix** matrix) {
  if (!matrix) return InvalidParameter;
  *matrix = new (std::nothrow) GpMatrix;
  if (!*matrix) return OutOfMemory;
  cairo_matrix_init_identity(&(*matrix)->m);
  return Ok;
}

Status GdipCreateMatrix2(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy, GpMatrix** matrix) {
  if (!matrix) return InvalidParameter;
  *matrix = nullptr;
  if (!ValidFloat(m11) || !ValidFloat(m12) || !ValidFloat(m21) || !ValidFloat(m22) || !ValidFloat(dx) ||
      !ValidFloat(dy))
    return InvalidParameter;
  Status s = GdipCreateMatrix(matrix);
  if (s == Ok) cairo_matrix_init(&(*matrix)->m, m11, m12, m21, m22, dx, dy);
  return s;
}

Status GdipCloneMatrix(GpMatrix* matrix, GpMatrix** clone) {
  if (!matrix || !clone) return InvalidParameter;
  *clone = new (std::nothrow) GpMatrix(*matrix);
  return *clone ? Ok : OutOfMemory;
}

Status GdipDeleteMatrix(GpMatrix* matrix) {
  if (!matrix) return InvalidParameter;
  delete matrix;
  return Ok;
}

Status GdipSetMatrixElements(GpMatrix* matrix, REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy) {
  if (!matrix || !ValidFloat(m11) || !ValidFloat(m12) || !ValidFloat(m21) || !ValidFloat(m22) || !ValidFloat(dx) ||
      !ValidFloat(dy))
    return InvalidParameter;
  cairo_matrix_init(&matrix->m, m11, m12, m21, m22, dx, dy);
  return Ok;
}

Status GdipGetMatrixElements(const GpMatrix* matrix, REAL* e) {
  if (!matrix || !e) return InvalidParameter;
  e[0] = REAL(matrix->m.xx);
  e[1] = REAL(matrix->m.yx);
  e[2] = REAL(matrix->m.xy);
  e[3] = REAL(matrix->m.yy);
  e[4] = REAL(matrix->m.x0);
  e[5] = REAL(matrix->m.y0);
  return Ok;
}

Status GdipMultiplyMatrix(GpMatrix* matrix, GpMatrix* other, MatrixOrder order) {
  if (!matrix || !other || !ValidOrder(order)) return InvalidParameter;
  Apply(matrix->m, other->m, order);
  return Ok;
}

Status GdipTranslateMatrix(GpMatrix* matrix, REAL dx, REAL dy, MatrixOrder order) {
  if (!matrix || !ValidOrder(order) || !ValidFloat(dx) || !ValidFloat(dy)) return InvalidParameter;
  cairo_matrix_t op;
  cairo_matrix_init_translate(&op, dx, dy);
  Apply(matrix->m, op, order);
  return Ok;
}

Status GdipScaleMatrix(GpMatrix* matrix, REAL sx, REAL sy, MatrixOrder order) {
  if (!matrix || !ValidOrder(order) || !ValidFloat(sx) || !ValidFloat(sy)) return InvalidParameter;
  cairo_matrix_t op;
  cairo_matrix_init_scale(&op, sx, sy);
  Apply(matrix->m, op, order);
  return Ok;
}

Status GdipRotateMatrix(GpMatrix* matrix, REAL angle, MatrixOrder order) {
  if (!matrix || !ValidOrder(order) || !ValidFloat(angle)) return InvalidParameter;
  cairo_matrix_t op;
  cairo_matrix_init_rotate(&op, angle * 3.14159265358979323846 / 180);
  Apply(matrix->m, op, order);
  return Ok;
}

Status GdipInvertMatrix(GpMatrix* matrix) {
  if (!matrix) return InvalidParameter;
  cairo_matrix_t m = matrix->m;
  if (cairo_matrix_invert(&m) != CAIRO_STATUS_SUCCESS) return InvalidParameter;
  matrix->m = m;
  return Ok;
}

Status GdipTransformMatrixPoints(GpMatrix* matrix, GpPointF* points, int count) {
  if (!matrix || !points || count <= 0) return InvalidParameter;
  for (int i = 0; i < count; ++i) {
    double x = points[i].X, y = points[i].Y;
    cairo_matrix_transform_point(&matrix->m, &x, &y);
    points[i] = GpPointF{REAL(x), REAL(y)};
  }
  return Ok;
}
