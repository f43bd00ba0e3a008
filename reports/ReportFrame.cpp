#include "reports/ReportFrame.h"

namespace {
ReportFrameFactory g_factory;
}  // namespace

void SetReportFrameFactory(ReportFrameFactory factory) { g_factory = std::move(factory); }

IReportFrame* NewReportFrame() { return g_factory ? g_factory() : nullptr; }
