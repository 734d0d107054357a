// The About box (dialog 133): icon, name picture, version, author, the maker's mail and web links
// and the credits, all on a fixed light grey whatever the system's colours.
#pragma once

#include "dialogs/hyperlink.h"
#include "framework/dialog.h"
#include "framework/handles.h"

class AboutDialog : public Dialog {
public:
    static constexpr COLORREF kBackground = RGB(212, 208, 200);
    static constexpr COLORREF kBand = RGB(255, 255, 255);
    static const char kMailTarget[];
    static const char kWebTarget[];
    static const char kSourceTarget[];

    AboutDialog();

    const CMyHyperLink &MailLink() const { return mailLink; }
    const CMyHyperLink &WebLink() const { return webLink; }
    const CMyHyperLink &SourceLink() const { return sourceLink; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(DataExchange &dx) override;
    bool ProcessMessage(Message &m) override;

private:
    bool OnCtlColor(Message &m);
    bool OnDrawItem(Message &m);
    // Above 100 % display scaling the name is drawn for the dialog's DPI instead of the resource's
    // 96-dpi pixels.
    void ScaleNamePicture();
    void ShowIcon() const;

    CMyHyperLink mailLink;
    CMyHyperLink webLink;
    CMyHyperLink sourceLink;
    UniqueBrush dialogBrush;
    // The name drawn for the dialog's DPI, when it is not 96: the static does not delete it.
    UniqueBitmap namePicture;
};
