#pragma once
// Where the operations window's buttons and labels go, window-free. A client area up to the
// design width of 400 pixels keeps the design's own offsets around its centre; a wider one
// (a scaled window) scales the design's offsets instead.
struct LayoutRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const LayoutRect&) const = default;
};

struct OperationsLayout {
  LayoutRect close, minimise, start, moreTools;
  // Vertical band of both labels at the bottom.
  int labelTop = 0, labelBottom = 0;
};

OperationsLayout LayOutOperations(const LayoutRect& client, float scale);
// The labels' widths from their measured text widths.
int VersionLabelWidth(int textWidth, float scale);
int FeedbackLabelWidth(int textWidth, float scale);
