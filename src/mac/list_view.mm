// A one-column list of rows (NSTableView in an NSScrollView) for ListView: each row an icon and
// its text; a change of selection goes to the list's forwarder.
#include <vector>

#include "mac/forwarder.h"
#include "mac/value_bridge.h"
#include "mac/view_base.h"
#include "mac/views.h"

@interface TidraListSource : NSObject <NSTableViewDataSource, NSTableViewDelegate> {
    NSMutableArray* _texts;
    NSMutableArray* _icons;  // NSImage, or NSNull where a row has none
    TidraForwarder* _forwarder;
}
- (instancetype)initWithForwarder:(TidraForwarder*)forwarder;
- (void)setTexts:(NSArray*)texts icons:(NSArray*)icons;
@end

@implementation TidraListSource
- (instancetype)initWithForwarder:(TidraForwarder*)forwarder {
    if ((self = [super init])) {
        _texts = [NSMutableArray array];
        _icons = [NSMutableArray array];
        _forwarder = forwarder;
    }
    return self;
}
- (void)setTexts:(NSArray*)texts icons:(NSArray*)icons {
    _texts = [texts mutableCopy];
    _icons = [icons mutableCopy];
}
- (NSInteger)numberOfRowsInTableView:(NSTableView*)tableView {
    return static_cast<NSInteger>([_texts count]);
}
- (id)tableView:(NSTableView*)tableView
    objectValueForTableColumn:(NSTableColumn*)column
                          row:(NSInteger)row {
    if (row < 0 || static_cast<NSUInteger>(row) >= [_texts count]) return nil;
    if ([[column identifier] isEqual:@"icon"]) {
        id icon = [_icons objectAtIndex:static_cast<NSUInteger>(row)];
        return icon == [NSNull null] ? nil : icon;
    }
    return [_texts objectAtIndex:static_cast<NSUInteger>(row)];
}
- (void)tableViewSelectionDidChange:(NSNotification*)notification {
    [_forwarder send:self];
}
@end

namespace tidra::mac {
namespace {

class MacListView final : public ViewBase<ListView> {
  public:
    MacListView(NSScrollView* scroll, NSTableView* table, TidraListSource* source,
                std::string identifier)
        : ViewBase(scroll, std::move(identifier), source), table_(table), source_(source) {}

    void setRows(const std::vector<ListRow>& rows) override {
        rows_ = rows;
        NSMutableArray* texts = [NSMutableArray array];
        NSMutableArray* icons = [NSMutableArray array];
        for (const ListRow& row : rows) {
            const std::string text =
                row.detail.empty() ? row.title : row.title + " — " + row.detail;
            [texts addObject:toNSString(text)];
            NSImage* icon =
                row.iconFile ? [[NSWorkspace sharedWorkspace] iconForFile:toNSString(*row.iconFile)]
                             : nil;
            [icon setSize:NSMakeSize(16, 16)];
            [icons addObject:(icon != nil ? (id)icon : (id)[NSNull null])];
        }
        [source_ setTexts:texts icons:icons];
        const NSInteger selected = [table_ selectedRow];
        [table_ reloadData];
        if (selected >= static_cast<NSInteger>(rows.size())) [table_ deselectAll:nil];
    }
    std::vector<ListRow> rows() const override { return rows_; }
    std::optional<size_t> selectedRow() const override {
        const NSInteger row = [table_ selectedRow];
        if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return std::nullopt;
        return static_cast<size_t>(row);
    }
    void selectRow(std::optional<size_t> row) override {
        if (!row || *row >= rows_.size()) {
            [table_ deselectAll:nil];
            return;
        }
        [table_ selectRowIndexes:[NSIndexSet indexSetWithIndex:*row] byExtendingSelection:NO];
        [table_ scrollRowToVisible:static_cast<NSInteger>(*row)];
    }

  private:
    NSTableView* table_;
    TidraListSource* source_;
    std::vector<ListRow> rows_;
};

}  // namespace

std::shared_ptr<ListView> makeListView(const std::string& identifier, Rect frame, id forwarder) {
    NSScrollView* scroll = [[NSScrollView alloc] initWithFrame:toNSRect(frame)];
    [scroll setHasVerticalScroller:YES];
    [scroll setBorderType:NSBezelBorder];
    NSTableView* table = [[NSTableView alloc] initWithFrame:[[scroll contentView] bounds]];
    NSTableColumn* icon = [[NSTableColumn alloc] initWithIdentifier:@"icon"];
    [icon setDataCell:[[NSImageCell alloc] init]];
    [icon setWidth:20];
    NSTableColumn* name = [[NSTableColumn alloc] initWithIdentifier:@"name"];
    [name setWidth:frame.size.width - 30];
    [table addTableColumn:icon];
    [table addTableColumn:name];
    [table setHeaderView:nil];
    [table setRowHeight:20];
    [table setAllowsMultipleSelection:NO];
    [table setAllowsEmptySelection:YES];
    TidraListSource* source = [[TidraListSource alloc] initWithForwarder:forwarder];
    [table setDataSource:source];
    [table setDelegate:source];
    [scroll setDocumentView:table];
    return std::make_shared<MacListView>(scroll, table, source, identifier);
}

}  // namespace tidra::mac
