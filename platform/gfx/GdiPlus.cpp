// Start-up, memory and matrices of the GDI+-style interface.
#include <atomic>
#include <cmath>
#include <cstdlib>

#include "platform/gfx/GdiPlus_Internal.h"

namespace {

std::atomic<int> gStarted{0};
std::atomic<ULONG_PTR> gNextToken{1};

Status HookProc(ULONG_PTR* token)
{
    if (!token) return InvalidParameter;
    *token = 0;
    return Ok;
}
void UnhookProc(ULONG_PTR) {}

}  // namespace

bool GdipStarted() { return gStarted.load() > 0; }

Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output)
{
    if (!token || !input) return InvalidParameter;
    if (input->GdiplusVersion < 1 || input->GdiplusVersion > 3) return UnsupportedGdiplusVersion;
    // Without a background thread the caller runs the notification hooks
    // and so must receive them.
    if (input->SuppressBackgroundThread && !output) return InvalidParameter;
    if (output) {
        output->NotificationHook = input->SuppressBackgroundThread ? HookProc : nullptr;
        output->NotificationUnhook = input->SuppressBackgroundThread ? UnhookProc : nullptr;
    }
    *token = gNextToken++;
    ++gStarted;
    return Ok;
}

void GdiplusShutdown(ULONG_PTR token)
{
    if (token == 0) return;
    int n = gStarted.load();
    while (n > 0 && !gStarted.compare_exchange_weak(n, n - 1)) {}
}

void* GdipAlloc(size_t size)
{
    if (!GdipStarted()) return nullptr;
    return std::malloc(size ? size : 1);
}

void GdipFree(void* ptr) { std::free(ptr); }

// ---- matrices -------------------------------------------------------------

void GpCombine(cairo_matrix_t& m, const cairo_matrix_t& op, MatrixOrder order)
{
    cairo_matrix_t r;
    if (order == MatrixOrderAppend)
        cairo_matrix_multiply(&r, &m, &op);
    else
        cairo_matrix_multiply(&r, &op, &m);
    m = r;
}

Status GdipCreateMatrix(GpMatrix** matrix)
{
    GDIP_CHECK_STARTED();
    if (!matrix) return InvalidParameter;
    *matrix = new GpMatrix;
    return Ok;
}

Status GdipCreateMatrix2(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy, GpMatrix** matrix)
{
    GDIP_CHECK_STARTED();
    if (!matrix) return InvalidParameter;
    *matrix = new GpMatrix;
    cairo_matrix_init(&(*matrix)->M, m11, m12, m21, m22, dx, dy);
    return Ok;
}

Status GdipCreateMatrix3(const GpRectF* rect, const GpPointF* p, GpMatrix** matrix)
{
    GDIP_CHECK_STARTED();
    if (!rect || !p || !matrix || rect->Width == 0 || rect->Height == 0) return InvalidParameter;
    double m11 = (p[1].X - p[0].X) / rect->Width, m12 = (p[1].Y - p[0].Y) / rect->Width;
    double m21 = (p[2].X - p[0].X) / rect->Height, m22 = (p[2].Y - p[0].Y) / rect->Height;
    double dx = p[0].X - m11 * rect->X - m21 * rect->Y, dy = p[0].Y - m12 * rect->X - m22 * rect->Y;
    *matrix = new GpMatrix;
    cairo_matrix_init(&(*matrix)->M, m11, m12, m21, m22, dx, dy);
    return Ok;
}

Status GdipCreateMatrix3I(const GpRect* rect, const GpPoint* p, GpMatrix** matrix)
{
    if (!rect || !p) return InvalidParameter;
    GpRectF r{REAL(rect->X), REAL(rect->Y), REAL(rect->Width), REAL(rect->Height)};
    GpPointF pf[3] = {{REAL(p[0].X), REAL(p[0].Y)}, {REAL(p[1].X), REAL(p[1].Y)}, {REAL(p[2].X), REAL(p[2].Y)}};
    return GdipCreateMatrix3(&r, pf, matrix);
}

Status GdipCloneMatrix(GpMatrix* matrix, GpMatrix** cloneMatrix)
{
    if (!matrix || !cloneMatrix) return InvalidParameter;
    *cloneMatrix = new GpMatrix(*matrix);
    return Ok;
}

Status GdipDeleteMatrix(GpMatrix* matrix)
{
    if (!matrix) return InvalidParameter;
    delete matrix;
    return Ok;
}

Status GdipSetMatrixElements(GpMatrix* matrix, REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy)
{
    if (!matrix) return InvalidParameter;
    cairo_matrix_init(&matrix->M, m11, m12, m21, m22, dx, dy);
    return Ok;
}

Status GdipGetMatrixElements(const GpMatrix* matrix, REAL* out)
{
    if (!matrix || !out) return InvalidParameter;
    const cairo_matrix_t& m = matrix->M;
    out[0] = REAL(m.xx); out[1] = REAL(m.yx); out[2] = REAL(m.xy); out[3] = REAL(m.yy);
    out[4] = REAL(m.x0); out[5] = REAL(m.y0);
    return Ok;
}

Status GdipMultiplyMatrix(GpMatrix* matrix, GpMatrix* matrix2, MatrixOrder order)
{
    if (!matrix || !matrix2) return InvalidParameter;
    GpCombine(matrix->M, matrix2->M, order);
    return Ok;
}

Status GdipTranslateMatrix(GpMatrix* matrix, REAL offsetX, REAL offsetY, MatrixOrder order)
{
    if (!matrix) return InvalidParameter;
    cairo_matrix_t t;
    cairo_matrix_init_translate(&t, offsetX, offsetY);
    GpCombine(matrix->M, t, order);
    return Ok;
}

Status GdipScaleMatrix(GpMatrix* matrix, REAL scaleX, REAL scaleY, MatrixOrder order)
{
    if (!matrix) return InvalidParameter;
    cairo_matrix_t t;
    cairo_matrix_init_scale(&t, scaleX, scaleY);
    GpCombine(matrix->M, t, order);
    return Ok;
}

Status GdipRotateMatrix(GpMatrix* matrix, REAL angle, MatrixOrder order)
{
    if (!matrix) return InvalidParameter;
    cairo_matrix_t t;
    cairo_matrix_init_rotate(&t, double(angle) * M_PI / 180.0);
    GpCombine(matrix->M, t, order);
    return Ok;
}

Status GdipShearMatrix(GpMatrix* matrix, REAL shearX, REAL shearY, MatrixOrder order)
{
    if (!matrix) return InvalidParameter;
    cairo_matrix_t t;
    cairo_matrix_init(&t, 1, shearY, shearX, 1, 0, 0);
    GpCombine(matrix->M, t, order);
    return Ok;
}

Status GdipInvertMatrix(GpMatrix* matrix)
{
    if (!matrix) return InvalidParameter;
    cairo_matrix_t m = matrix->M;
    if (cairo_matrix_invert(&m) != CAIRO_STATUS_SUCCESS) return InvalidParameter;
    matrix->M = m;
    return Ok;
}

Status GdipTransformMatrixPoints(GpMatrix* matrix, GpPointF* pts, INT count)
{
    if (!matrix || !pts || count <= 0) return InvalidParameter;
    for (INT i = 0; i < count; ++i) {
        double x = pts[i].X, y = pts[i].Y;
        cairo_matrix_transform_point(&matrix->M, &x, &y);
        pts[i] = {REAL(x), REAL(y)};
    }
    return Ok;
}

Status GdipTransformMatrixPointsI(GpMatrix* matrix, GpPoint* pts, INT count)
{
    if (!matrix || !pts || count <= 0) return InvalidParameter;
    for (INT i = 0; i < count; ++i) {
        double x = pts[i].X, y = pts[i].Y;
        cairo_matrix_transform_point(&matrix->M, &x, &y);
        pts[i] = {INT(std::lround(x)), INT(std::lround(y))};
    }
    return Ok;
}

Status GdipVectorTransformMatrixPoints(GpMatrix* matrix, GpPointF* pts, INT count)
{
    if (!matrix || !pts || count <= 0) return InvalidParameter;
    for (INT i = 0; i < count; ++i) {
        double x = pts[i].X, y = pts[i].Y;
        cairo_matrix_transform_distance(&matrix->M, &x, &y);
        pts[i] = {REAL(x), REAL(y)};
    }
    return Ok;
}

Status GdipVectorTransformMatrixPointsI(GpMatrix* matrix, GpPoint* pts, INT count)
{
    if (!matrix || !pts || count <= 0) return InvalidParameter;
    for (INT i = 0; i < count; ++i) {
        double x = pts[i].X, y = pts[i].Y;
        cairo_matrix_transform_distance(&matrix->M, &x, &y);
        pts[i] = {INT(std::lround(x)), INT(std::lround(y))};
    }
    return Ok;
}

Status GdipIsMatrixInvertible(const GpMatrix* matrix, BOOL* result)
{
    if (!matrix || !result) return InvalidParameter;
    const cairo_matrix_t& m = matrix->M;
    double det = m.xx * m.yy - m.yx * m.xy;
    *result = std::isfinite(det) && std::fabs(det) > 1e-12;
    return Ok;
}

Status GdipIsMatrixIdentity(const GpMatrix* matrix, BOOL* result)
{
    if (!matrix || !result) return InvalidParameter;
    const cairo_matrix_t& m = matrix->M;
    auto eq = [](double a, double b) { return std::fabs(a - b) < 1e-6; };
    *result = eq(m.xx, 1) && eq(m.yx, 0) && eq(m.xy, 0) && eq(m.yy, 1) && eq(m.x0, 0) && eq(m.y0, 0);
    return Ok;
}
