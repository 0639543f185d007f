// Regions: a tree of rectangles and paths combined with the GDI+ combine modes. Point
// tests evaluate the tree exactly; drawing clips with cairo directly when the region is
// an intersection of shapes and through a rendered coverage mask otherwise.
#include <algorithm>
#include <cmath>
#include <new>

#include "platform/gdiplus/GdiPlusFlat.h"
#include "platform/gdiplus/GdiPlusObjects.h"

namespace {

// GDI+ reports an infinite region with these bounds.
constexpr REAL kInfMin = -4194304.0f;
constexpr REAL kInfSize = 8388608.0f;

using Node = GpRegionNode;

bool InRect(const GpRectF& r, double x, double y) {
  return x >= r.X && y >= r.Y && x < double(r.X) + r.Width && y < double(r.Y) + r.Height;
}

cairo_t* Scratch() {
  static thread_local cairo_t* cr = [] {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* c = cairo_create(s);
    cairo_surface_destroy(s);
    return c;
  }();
  cairo_identity_matrix(cr);
  cairo_new_path(cr);
  return cr;
}

bool NodeContains(const Node& n, double x, double y) {
  switch (n.kind) {
    case Node::Empty: return false;
    case Node::Infinite: return true;
    case Node::Rect: return InRect(n.rect, x, y);
    case Node::Path: {
      cairo_t* cr = Scratch();
      n.path.Emit(cr);
      cairo_set_fill_rule(cr, n.path.fillMode == FillModeWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
      const bool in = cairo_in_fill(cr, x, y);
      cairo_new_path(cr);
      return in;
    }
    case Node::Combine: {
      const bool a = NodeContains(*n.a, x, y), b = NodeContains(*n.b, x, y);
      switch (n.op) {
        case CombineModeIntersect: return a && b;
        case CombineModeUnion: return a || b;
        case CombineModeXor: return a != b;
        case CombineModeExclude: return a && !b;
        case CombineModeComplement: return b && !a;
        default: return b;
      }
    }
  }
  return false;
}

// Bounds as (x0, y0, x1, y1); empty when x1 <= x0.
struct Box {
  double x0, y0, x1, y1;
  bool Empty() const { return x1 <= x0 || y1 <= y0; }
};
constexpr Box kEmptyBox{0, 0, 0, 0};
constexpr Box kInfBox{kInfMin, kInfMin, kInfMin + kInfSize, kInfMin + kInfSize};

Box Unite(Box a, Box b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

Box NodeBounds(const Node& n) {
  switch (n.kind) {
    case Node::Empty: return kEmptyBox;
    case Node::Infinite: return kInfBox;
    case Node::Rect: return {n.rect.X, n.rect.Y, double(n.rect.X) + n.rect.Width, double(n.rect.Y) + n.rect.Height};
    case Node::Path: {
      if (n.path.points.empty()) return kEmptyBox;
      cairo_t* cr = Scratch();
      n.path.Emit(cr);
      double x0, y0, x1, y1;
      cairo_fill_extents(cr, &x0, &y0, &x1, &y1);
      cairo_new_path(cr);
      return {x0, y0, x1, y1};
    }
    case Node::Combine: {
      const Box a = NodeBounds(*n.a), b = NodeBounds(*n.b);
      switch (n.op) {
        case CombineModeIntersect: {
          Box r{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
          return r.Empty() ? kEmptyBox : r;
        }
        case CombineModeExclude: return a;
        case CombineModeComplement: return b;
        default: return Unite(a, b);
      }
    }
  }
  return kEmptyBox;
}

void TransformNode(Node& n, const cairo_matrix_t& m) {
  switch (n.kind) {
    case Node::Rect: {
      if (m.xy == 0 && m.yx == 0) {
        double x0 = n.rect.X, y0 = n.rect.Y, x1 = x0 + n.rect.Width, y1 = y0 + n.rect.Height;
        cairo_matrix_transform_point(&m, &x0, &y0);
        cairo_matrix_transform_point(&m, &x1, &y1);
        n.rect = GpRectF{REAL(std::min(x0, x1)), REAL(std::min(y0, y1)), REAL(std::fabs(x1 - x0)),
                         REAL(std::fabs(y1 - y0))};
      } else {
        GpPath p;
        GdipAddPathRectangle(&p, n.rect.X, n.rect.Y, n.rect.Width, n.rect.Height);
        n.kind = Node::Path;
        n.path = std::move(p);
        TransformNode(n, m);
      }
      break;
    }
    case Node::Path:
      for (GpPointF& p : n.path.points) {
        double x = p.X, y = p.Y;
        cairo_matrix_transform_point(&m, &x, &y);
        p = GpPointF{REAL(x), REAL(y)};
      }
      break;
    case Node::Combine:
      TransformNode(*n.a, m);
      TransformNode(*n.b, m);
      break;
    default: break;
  }
}

bool NodeSimple(const Node& n) {
  switch (n.kind) {
    case Node::Combine: return n.op == CombineModeIntersect && NodeSimple(*n.a) && NodeSimple(*n.b);
    default: return true;
  }
}

void NodeClip(const Node& n, cairo_t* cr) {
  switch (n.kind) {
    case Node::Empty:
      cairo_rectangle(cr, 0, 0, 0, 0);
      cairo_clip(cr);
      break;
    case Node::Infinite: break;
    case Node::Rect:
      cairo_rectangle(cr, n.rect.X, n.rect.Y, n.rect.Width, n.rect.Height);
      cairo_clip(cr);
      break;
    case Node::Path:
      n.path.Emit(cr);
      cairo_set_fill_rule(cr, n.path.fillMode == FillModeWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
      cairo_clip(cr);
      break;
    case Node::Combine:
      NodeClip(*n.a, cr);
      NodeClip(*n.b, cr);
      break;
  }
}

// Paints the node's coverage onto cr's (cleared) A8 target.
void NodePaint(const Node& n, cairo_t* cr) {
  switch (n.kind) {
    case Node::Empty: break;
    case Node::Infinite: cairo_paint(cr); break;
    case Node::Rect:
      cairo_rectangle(cr, n.rect.X, n.rect.Y, n.rect.Width, n.rect.Height);
      cairo_fill(cr);
      break;
    case Node::Path:
      n.path.Emit(cr);
      cairo_set_fill_rule(cr, n.path.fillMode == FillModeWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
      cairo_fill(cr);
      break;
    case Node::Combine: {
      const Node& first = n.op == CombineModeComplement ? *n.b : *n.a;
      const Node& second = n.op == CombineModeComplement ? *n.a : *n.b;
      NodePaint(first, cr);
      cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
      NodePaint(second, cr);
      cairo_pop_group_to_source(cr);
      cairo_save(cr);
      switch (n.op) {
        case CombineModeIntersect: cairo_set_operator(cr, CAIRO_OPERATOR_DEST_IN); break;
        case CombineModeUnion: cairo_set_operator(cr, CAIRO_OPERATOR_OVER); break;
        case CombineModeXor: cairo_set_operator(cr, CAIRO_OPERATOR_XOR); break;
        case CombineModeExclude:
        case CombineModeComplement: cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OUT); break;
        default: cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE); break;
      }
      cairo_paint(cr);
      cairo_restore(cr);
      cairo_set_source_rgba(cr, 0, 0, 0, 1);
      break;
    }
  }
}

}  // namespace

std::unique_ptr<GpRegionNode> GpRegionNode::Clone() const {
  auto n = std::make_unique<GpRegionNode>();
  n->kind = kind;
  n->rect = rect;
  n->path = path;
  n->op = op;
  if (a) n->a = a->Clone();
  if (b) n->b = b->Clone();
  return n;
}

std::unique_ptr<GpRegionNode> RegionRectNode(const GpRectF& r) {
  auto n = std::make_unique<GpRegionNode>();
  if (r.Width <= 0 || r.Height <= 0) {
    n->kind = Node::Empty;
  } else {
    n->kind = Node::Rect;
    n->rect = r;
  }
  return n;
}

std::unique_ptr<GpRegionNode> RegionPathNode(const GpPath& p) {
  auto n = std::make_unique<GpRegionNode>();
  n->kind = p.points.empty() ? Node::Empty : Node::Path;
  n->path = p;
  return n;
}

GpRegion::GpRegion() : root(std::make_unique<GpRegionNode>()) {}
GpRegion::GpRegion(const GpRegion& other) : root(other.root->Clone()) {}

void GpRegion::SetInfinite() {
  root = std::make_unique<GpRegionNode>();
  root->kind = Node::Infinite;
}

void GpRegion::SetEmpty() {
  root = std::make_unique<GpRegionNode>();
  root->kind = Node::Empty;
}

void GpRegion::Combine(std::unique_ptr<GpRegionNode> node, CombineMode mode) {
  const Node::Kind a = root->kind, b = node->kind;
  switch (mode) {
    case CombineModeReplace: root = std::move(node); return;
    case CombineModeIntersect:
      if (a == Node::Infinite || b == Node::Empty) root = std::move(node);
      if (a == Node::Infinite || b == Node::Empty || a == Node::Empty || b == Node::Infinite) return;
      break;
    case CombineModeUnion:
      if (a == Node::Empty || b == Node::Infinite) root = std::move(node);
      if (a == Node::Empty || b == Node::Infinite || a == Node::Infinite || b == Node::Empty) return;
      break;
    case CombineModeExclude:
      if (a == Node::Empty || b == Node::Empty) return;
      if (b == Node::Infinite) {
        SetEmpty();
        return;
      }
      break;
    case CombineModeComplement:
      if (b == Node::Empty || a == Node::Infinite) {
        SetEmpty();
        return;
      }
      if (a == Node::Empty) {
        root = std::move(node);
        return;
      }
      break;
    case CombineModeXor:
      if (a == Node::Empty) {
        root = std::move(node);
        return;
      }
      if (b == Node::Empty) return;
      break;
  }
  auto c = std::make_unique<GpRegionNode>();
  c->kind = Node::Combine;
  c->op = mode;
  c->a = std::move(root);
  c->b = std::move(node);
  root = std::move(c);
}

bool GpRegion::Contains(double x, double y) const { return NodeContains(*root, x, y); }
bool GpRegion::IsEmptyShape() const { return root->kind == Node::Empty; }
bool GpRegion::IsInfinite() const { return root->kind == Node::Infinite; }

GpRectF GpRegion::Bounds() const {
  const Box b = NodeBounds(*root);
  if (b.Empty()) return GpRectF{};
  return GpRectF{REAL(b.x0), REAL(b.y0), REAL(b.x1 - b.x0), REAL(b.y1 - b.y0)};
}

void GpRegion::Transform(const cairo_matrix_t& m) { TransformNode(*root, m); }

void GpRegion::Translate(double dx, double dy) {
  cairo_matrix_t m;
  cairo_matrix_init_translate(&m, dx, dy);
  TransformNode(*root, m);
}

bool GpRegion::IsSimple() const { return NodeSimple(*root); }
void GpRegion::ClipSimple(cairo_t* cr) const { NodeClip(*root, cr); }

cairo_surface_t* GpRegion::RenderMask(int x, int y, int w, int h) const {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, std::max(w, 1), std::max(h, 1));
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  cairo_t* cr = cairo_create(s);
  cairo_translate(cr, -x, -y);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  NodePaint(*root, cr);
  cairo_destroy(cr);
  cairo_surface_flush(s);
  return s;
}

// ---- flat API -----------------------------------------------------------------------------

Status GdipCreateRegion(GpRegion** region) {
  if (!region) return InvalidParameter;
  *region = nullptr;
  if (!GdipIsStarted()) return GdiplusNotInitialized;
  GpRegion* r = new (std::nothrow) GpRegion;
  if (!r) return OutOfMemory;
  r->SetInfinite();
  *region = r;
  return Ok;
}

Status GdipCreateRegionRect(const GpRectF* rect, GpRegion** region) {
  if (!region) return InvalidParameter;
  *region = nullptr;
  if (!rect || !ValidFloat(rect->X) || !ValidFloat(rect->Y) || !ValidFloat(rect->Width) || !ValidFloat(rect->Height))
    return InvalidParameter;
  Status s = GdipCreateRegion(region);
  if (s != Ok) return s;
  (*region)->root = RegionRectNode(*rect);
  return Ok;
}

Status GdipCreateRegionRectI(const GpRect* rect, GpRegion** region) {
  if (!rect) return InvalidParameter;
  const GpRectF r{REAL(rect->X), REAL(rect->Y), REAL(rect->Width), REAL(rect->Height)};
  return GdipCreateRegionRect(&r, region);
}

Status GdipCreateRegionPath(GpPath* path, GpRegion** region) {
  if (!region) return InvalidParameter;
  *region = nullptr;
  if (!path) return InvalidParameter;
  Status s = GdipCreateRegion(region);
  if (s != Ok) return s;
  (*region)->root = RegionPathNode(*path);
  return Ok;
}

Status GdipCloneRegion(GpRegion* region, GpRegion** clone) {
  if (!region || !clone) return InvalidParameter;
  *clone = new (std::nothrow) GpRegion(*region);
  return *clone ? Ok : OutOfMemory;
}

Status GdipDeleteRegion(GpRegion* region) {
  if (!region) return InvalidParameter;
  delete region;
  return Ok;
}

Status GdipSetInfinite(GpRegion* region) {
  if (!region) return InvalidParameter;
  region->SetInfinite();
  return Ok;
}

Status GdipSetEmpty(GpRegion* region) {
  if (!region) return InvalidParameter;
  region->SetEmpty();
  return Ok;
}

static bool ValidMode(CombineMode mode) { return mode >= CombineModeReplace && mode <= CombineModeComplement; }

Status GdipCombineRegionRect(GpRegion* region, const GpRectF* rect, CombineMode mode) {
  if (!region || !rect || !ValidMode(mode) || !ValidFloat(rect->X) || !ValidFloat(rect->Y) ||
      !ValidFloat(rect->Width) || !ValidFloat(rect->Height))
    return InvalidParameter;
  region->Combine(RegionRectNode(*rect), mode);
  return Ok;
}

Status GdipCombineRegionRectI(GpRegion* region, const GpRect* rect, CombineMode mode) {
  if (!rect) return InvalidParameter;
  const GpRectF r{REAL(rect->X), REAL(rect->Y), REAL(rect->Width), REAL(rect->Height)};
  return GdipCombineRegionRect(region, &r, mode);
}

Status GdipCombineRegionPath(GpRegion* region, GpPath* path, CombineMode mode) {
  if (!region || !path || !ValidMode(mode)) return InvalidParameter;
  region->Combine(RegionPathNode(*path), mode);
  return Ok;
}

Status GdipCombineRegionRegion(GpRegion* region, GpRegion* other, CombineMode mode) {
  if (!region || !other || !ValidMode(mode)) return InvalidParameter;
  region->Combine(other->root->Clone(), mode);
  return Ok;
}

Status GdipTranslateRegion(GpRegion* region, REAL dx, REAL dy) {
  if (!region || !ValidFloat(dx) || !ValidFloat(dy)) return InvalidParameter;
  region->Translate(dx, dy);
  return Ok;
}

Status GdipTranslateRegionI(GpRegion* region, int dx, int dy) { return GdipTranslateRegion(region, REAL(dx), REAL(dy)); }

Status GdipTransformRegion(GpRegion* region, GpMatrix* matrix) {
  if (!region || !matrix) return InvalidParameter;
  region->Transform(matrix->m);
  return Ok;
}

Status GdipGetRegionBounds(GpRegion* region, GpGraphics* graphics, GpRectF* rect) {
  if (!region || !graphics || !rect) return InvalidParameter;
  *rect = region->Bounds();
  return Ok;
}

Status GdipGetRegionBoundsI(GpRegion* region, GpGraphics* graphics, GpRect* rect) {
  if (!rect) return InvalidParameter;
  GpRectF r;
  Status s = GdipGetRegionBounds(region, graphics, &r);
  if (s != Ok) return s;
  const int x = int(std::floor(r.X)), y = int(std::floor(r.Y));
  *rect = GpRect{x, y, int(std::ceil(double(r.X) + r.Width)) - x, int(std::ceil(double(r.Y) + r.Height)) - y};
  return Ok;
}

Status GdipIsEmptyRegion(GpRegion* region, GpGraphics* graphics, BOOL* result) {
  if (!region || !graphics || !result) return InvalidParameter;
  if (region->IsEmptyShape()) {
    *result = 1;
    return Ok;
  }
  const GpRectF b = region->Bounds();
  if (b.Width <= 0 || b.Height <= 0) {
    *result = 1;
    return Ok;
  }
  if (region->IsInfinite() || region->root->kind == Node::Rect) {
    *result = 0;
    return Ok;
  }
  // Render the coverage within the bounds and look for any covered pixel.
  const int x = int(std::floor(b.X)), y = int(std::floor(b.Y));
  const int w = std::min(4096, int(std::ceil(double(b.X) + b.Width)) - x);
  const int h = std::min(4096, int(std::ceil(double(b.Y) + b.Height)) - y);
  cairo_surface_t* m = region->RenderMask(x, y, w, h);
  if (!m) return OutOfMemory;
  bool any = false;
  const unsigned char* d = cairo_image_surface_get_data(m);
  const int stride = cairo_image_surface_get_stride(m);
  for (int j = 0; j < h && !any; ++j)
    for (int i = 0; i < w; ++i)
      if (d[j * stride + i]) {
        any = true;
        break;
      }
  cairo_surface_destroy(m);
  *result = any ? 0 : 1;
  return Ok;
}

Status GdipIsInfiniteRegion(GpRegion* region, GpGraphics* graphics, BOOL* result) {
  if (!region || !graphics || !result) return InvalidParameter;
  *result = region->IsInfinite() ? 1 : 0;
  return Ok;
}

Status GdipIsVisibleRegionPoint(GpRegion* region, REAL x, REAL y, GpGraphics* graphics, BOOL* result) {
  if (!region || !result || !ValidFloat(x) || !ValidFloat(y)) return InvalidParameter;
  *result = region->Contains(x, y) ? 1 : 0;
  return Ok;
}

Status GdipIsVisibleRegionPointI(GpRegion* region, int x, int y, GpGraphics* graphics, BOOL* result) {
  return GdipIsVisibleRegionPoint(region, REAL(x), REAL(y), graphics, result);
}
