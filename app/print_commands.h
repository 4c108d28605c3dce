#pragma once

class CTavrinApp;
class CView;
class IPrintableView;

// Print (with the print dialog), Print Direct and Print Preview for a view
// that prints page by page. The preview stands in the view's place in its
// frame, on the page the view's preparation chose, and prints from there.
void RegisterPrintCommands(CView& view, IPrintableView& printable, CTavrinApp& app);
