#pragma once

#include <QFont>

namespace pelorin {

// The fonts the windows ask for. Each names the family the layout was designed with and a
// style hint, so a desktop without that family falls back to a matching one at the same size.
class WindowFonts {
  public:
    static QFont Regular();    // the windows' font, sans serif 8.25 pt
    static QFont Bold();       // frame captions, the time box, info labels
    static QFont PasteBox();   // monospace 8.25 pt for the telemetry lines
    static QFont FaceNames();  // bold sans serif 9.75 pt, the status graphic's names
    static QFont InfoTitle();  // bold sans serif 13.5 pt, the info window's title
};

}  // namespace pelorin
