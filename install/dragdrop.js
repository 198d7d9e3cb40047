// Drag, resize and scale for the items of the editor page.
//
// SET_DHTML(CURSOR_HAND, RESIZABLE, 'name', 'name'+SCALABLE, 'name'+NO_DRAG, ...) makes the
// named elements (a div by id, or a picture by name) movable with the mouse and resizable
// with the handle that appears at their lower right corner. SCALABLE keeps the aspect ratio
// while resizing; NO_DRAG registers an element without making it movable. dd.elements lists
// every registered element with its page position x, y, size w, h, stacking order z and name,
// measured whenever they are read, so that a resized window never hands over old places. A picture moves with the div that holds it, so that div's
// style carries its place; a text item's own style carries its left, top, width and height.
// With a grid picture as the page background, dragged items snap to its spacing; while an item
// is dragged or resized its edges and centre snap to the other items' and to the container's
// centre within 5 pixels, a guide line showing (Alt turns that off). Shift+click, a frame drawn
// on empty space and Ctrl+A select several items, which move, align and go together.

var CURSOR_HAND = '\u0001cursor-hand';
var RESIZABLE = '\u0001resizable';
var SCALABLE = '\u0001scalable';
var NO_DRAG = '\u0001no-drag';

var dd = {
    elements: [],
    suppressClick: false,
    maxZ: 1,
    resizable: false,
    handCursor: false
};

var ddGridSpacings = { 'grid1.gif': 10, 'grid2.gif': 20, 'grid3.gif': 50 };
var ddAction = null;
var ddHandle = null;
var ddHandleOwner = null;

function ddGridSpacing() {
    var background = document.body ? document.body.getAttribute('background') : null;
    return background && ddGridSpacings[background] ? ddGridSpacings[background] : 0;
}

function ddFind(name) {
    return document.getElementById(name) || document.images[name] ||
        document.getElementsByName(name)[0] || null;
}

// The element that moves: a picture moves with the div around it, through its link and its
// web versions.
function ddMover(element) {
    var parent = element.parentNode;
    while (element.tagName === 'IMG' && parent &&
        (parent.nodeName === 'A' || parent.nodeName === 'PICTURE')) {
        parent = parent.parentNode;
    }
    if (element.tagName === 'IMG' && parent && parent.id === 'd' + element.name) {
        return parent;
    }
    return element;
}

// The element's box on the page, in whole pixels.
function ddPageBox(element) {
    var box = element.getBoundingClientRect();
    return {
        x: box.left + window.pageXOffset,
        y: box.top + window.pageYOffset,
        w: Math.round(box.width),
        h: Math.round(box.height)
    };
}

// How far the page's script places the container's content from where the browser shows it.
// The script takes the content to start at half the spare width (5 pixels when there is
// none) and 30 pixels down; the browser may differ by a few pixels (a narrow window, a scroll
// bar, half a pixel), so positions are counted from the content's real corner and moved to the
// script's, and every item's place relative to the container comes out exact at any width.
function ddScriptShift() {
    var container = document.getElementById('pagecontainer');
    if (!container) {
        return { x: 0, y: 0 };
    }
    var content = ddPageBox(container);
    var left = Math.floor((document.body.clientWidth - parseInt(container.style.width, 10)) / 2);
    return {
        x: (left < 0 ? 5 : left) - (content.x + container.clientLeft),
        y: 30 - (content.y + container.clientTop)
    };
}

// An element as the page's script sees it: x, y, w and h are measured when read.
var ddRecordPrototype = {};
['x', 'y', 'w', 'h'].forEach(function (key) {
    Object.defineProperty(ddRecordPrototype, key, {
        get: function () {
            var box = ddPageBox(this.element);
            if (key === 'w' || key === 'h') {
                return box[key];
            }
            return Math.round(box[key] + ddScriptShift()[key]);
        }
    });
});

// The record of a named element, not yet registered; null when the page has no such element.
function ddRecordFor(argument) {
    var parts = String(argument).split('\u0001');
    var name = parts[0];
    var element = ddFind(name);
    if (!element) {
        return null;
    }
    var record = Object.create(ddRecordPrototype);
    record.name = name;
    record.element = element;
    record.mover = ddMover(element);
    record.scalable = parts.indexOf('scalable') > 0;
    record.draggable = parts.indexOf('no-drag') < 0;
    var z = parseInt(window.getComputedStyle(record.mover).zIndex, 10);
    record.z = isNaN(z) ? 0 : z;
    return record;
}

// Every element is measured before any is marked: a mark between two measures would make the
// browser work out the page's styles again for each of thousands of items.
function SET_DHTML() {
    var records = [];
    for (var i = 0; i < arguments.length; i++) {
        if (arguments[i] === CURSOR_HAND) {
            dd.handCursor = true;
        } else if (arguments[i] === RESIZABLE) {
            dd.resizable = true;
        } else if (String(arguments[i]).charAt(0) !== '\u0001') {
            records.push(ddRecordFor(arguments[i]));
        }
    }
    records.forEach(function (record) {
        if (!record) {
            return;
        }
        dd.maxZ = Math.max(dd.maxZ, record.z);
        dd.elements.push(record);
        dd.elements[record.name] = record;
        if (record.draggable) {
            record.element.classList.add(dd.handCursor ? 'dd-hand' : 'dd-move');
        }
    });
}

// The page reports positions inside the container from its top at 30 pixels and its content
// centred in the window; the margins put it exactly there. A text item's width and height
// include its padding and border, as the finished page expects.
(function () {
    var style = document.createElement('style');
    style.textContent = 'body{margin:14px 4px}' +
        'div[id^="pagetextitem"]{box-sizing:border-box}' +
        '.dd-hand{cursor:pointer}.dd-move{cursor:move}' +
        '#dd-handle{position:absolute;display:none;width:9px;height:9px;' +
        'background:#ffd666;border:1px solid #008000;cursor:nwse-resize;z-index:99999}' +
        '.dd-selected{outline:2px dashed #3070d0;outline-offset:2px}' +
        '.dd-guide{position:absolute;display:none;background:#e0309a;z-index:99998;' +
        'pointer-events:none}' +
        '#dd-band{position:absolute;display:none;border:1px dashed #3070d0;' +
        'background:rgba(48,112,208,0.08);z-index:99997;pointer-events:none}';
    (document.head || document.documentElement).appendChild(style);
})();

function ddRecordOf(node) {
    for (; node && node !== document.body; node = node.parentNode) {
        for (var i = 0; i < dd.elements.length; i++) {
            var record = dd.elements[i];
            if (record.draggable && (record.element === node || record.mover === node)) {
                return record;
            }
        }
    }
    return null;
}

function ddShowHandle(record) {
    if (!dd.resizable) {
        return;
    }
    if (!ddHandle) {
        ddHandle = document.createElement('span');
        ddHandle.id = 'dd-handle';
        ddHandle.addEventListener('mousedown', ddStartResize, false);
        document.body.appendChild(ddHandle);
    }
    var box = ddPageBox(record.element);
    ddHandleOwner = record;
    ddHandle.style.left = Math.floor(box.x + box.w - 6) + 'px';
    ddHandle.style.top = Math.floor(box.y + box.h - 6) + 'px';
    ddHandle.style.display = 'block';
}

function ddSnap(value) {
    var spacing = ddGridSpacing();
    return spacing > 0 ? Math.round(value / spacing) * spacing : value;
}

function ddBringToFront(record) {
    dd.maxZ += 1;
    record.z = dd.maxZ;
    record.mover.style.zIndex = record.z;
}

// The items a drag moves: the selection when the grabbed item is in it, else the item alone.
function ddMoving(record) {
    return ddSelection.indexOf(record) >= 0 ? ddSelection.filter(function (r) {
        return r.draggable;
    }) : [record];
}

// Where the other items' edges and centres lie, and the container's centre, in page
// coordinates: the lines a moved or resized item snaps to.
function ddGuideLines(moving) {
    var lines = { x: [], y: [] };
    var movers = moving.map(function (r) { return r.mover; });
    var seen = new Set();
    dd.elements.forEach(function (record) {
        if (!record.draggable || movers.indexOf(record.mover) >= 0 || seen.has(record.mover)) {
            return;
        }
        seen.add(record.mover);
        var box = ddPageBox(record.element);
        lines.x.push(box.x, box.x + box.w / 2, box.x + box.w);
        lines.y.push(box.y, box.y + box.h / 2, box.y + box.h);
    });
    var container = document.getElementById('pagecontainer');
    if (container) {
        var outer = ddPageBox(container);
        lines.x.push(outer.x + outer.w / 2);
        lines.y.push(outer.y + outer.h / 2);
    }
    return lines;
}

// The shift within 5 pixels that puts one of the edges on a line, the nearest; null when none.
function ddNearestLine(edges, lines) {
    var best = null;
    for (var i = 0; i < edges.length; i++) {
        for (var j = 0; j < lines.length; j++) {
            var shift = lines[j] - edges[i];
            if (Math.abs(shift) <= 5 && (best === null || Math.abs(shift) < Math.abs(best.shift))) {
                best = { shift: shift, at: lines[j] };
            }
        }
    }
    return best;
}

var ddGuides = null;

function ddPlaceGuide(line, left, top, width, height) {
    line.style.left = left + 'px';
    line.style.top = top + 'px';
    line.style.width = width + 'px';
    line.style.height = height + 'px';
}

// The thin lines shown while an edge or centre holds to another's; null hides them.
function ddShowGuides(x, y) {
    if (!ddGuides) {
        ddGuides = ['dd-guide-x', 'dd-guide-y'].map(function (id) {
            var line = document.createElement('div');
            line.id = id;
            line.className = 'dd-guide';
            document.body.appendChild(line);
            return line;
        });
    }
    var height = Math.max(document.documentElement.scrollHeight, document.body.scrollHeight);
    var width = Math.max(document.documentElement.scrollWidth, document.body.scrollWidth);
    ddGuides[0].style.display = x === null ? 'none' : 'block';
    ddGuides[1].style.display = y === null ? 'none' : 'block';
    if (x !== null) {
        ddPlaceGuide(ddGuides[0], Math.round(x), 0, 1, height);
    }
    if (y !== null) {
        ddPlaceGuide(ddGuides[1], 0, Math.round(y), width, 1);
    }
}

function ddStartMove(event) {
    if (event.button !== 0) {
        return;
    }
    var record = ddRecordOf(event.target);
    if (!record) {
        ddStartBand(event);
        return;
    }
    event.preventDefault();
    // Shift adds an item to the selection or takes it away, and neither drags nor opens its
    // options.
    if (event.shiftKey) {
        ddToggle(record);
        dd.suppressClick = true;
        return;
    }
    if (ddSelection.indexOf(record) < 0) {
        ddSelect(record);
    }
    var moving = ddMoving(record);
    moving.forEach(ddBringToFront);
    var box = ddBoxOf(moving);
    ddAction = {
        kind: 'move',
        record: record,
        moving: moving,
        startX: event.pageX,
        startY: event.pageY,
        starts: moving.map(function (r) {
            return {
                left: parseInt(r.mover.style.left, 10) || r.mover.offsetLeft,
                top: parseInt(r.mover.style.top, 10) || r.mover.offsetTop
            };
        }),
        pageX: record.x,
        pageY: record.y,
        box: box,
        lines: ddGuideLines(moving),
        moved: false
    };
}

// The box around the records, in page coordinates.
function ddBoxOf(records) {
    var box = null;
    records.forEach(function (record) {
        var b = ddPageBox(record.element);
        if (!box) {
            box = { left: b.x, top: b.y, right: b.x + b.w, bottom: b.y + b.h };
        } else {
            box.left = Math.min(box.left, b.x);
            box.top = Math.min(box.top, b.y);
            box.right = Math.max(box.right, b.x + b.w);
            box.bottom = Math.max(box.bottom, b.y + b.h);
        }
    });
    return box;
}

function ddStartResize(event) {
    if (event.button !== 0 || !ddHandleOwner) {
        return;
    }
    event.preventDefault();
    event.stopPropagation();
    var record = ddHandleOwner;
    var box = ddPageBox(record.element);
    ddAction = {
        kind: 'resize',
        record: record,
        startX: event.pageX,
        startY: event.pageY,
        width: record.w,
        height: record.h,
        corner: { x: box.x, y: box.y },
        lines: ddGuideLines([record]),
        moved: false,
        heldHeight: document.body.style.minHeight,
        heldWidth: document.body.style.minWidth
    };
    // The page keeps its size while an item shrinks: were it to shorten or narrow, the browser
    // would scroll it under a still pointer, the pointer would seem to move up or left, and the
    // item would shrink on to nothing.
    document.body.style.minHeight =
        Math.max(document.documentElement.scrollHeight, document.body.scrollHeight) + 'px';
    document.body.style.minWidth = Math.max(document.documentElement.scrollWidth,
        document.body.scrollWidth) - ddBodyMargins() + 'px';
}

// The body's own margins across: a minimum width counts without them.
function ddBodyMargins() {
    var style = window.getComputedStyle(document.body);
    return (parseFloat(style.marginLeft) || 0) + (parseFloat(style.marginRight) || 0);
}

function ddSetSize(record, width, height) {
    var element = record.element;
    if (element.tagName === 'IMG') {
        element.width = width;
        element.height = height;
    } else {
        element.style.width = width + 'px';
        element.style.height = height + 'px';
    }
}

// A frame drawn from empty page space selects every item it touches.
function ddStartBand(event) {
    var menu = document.getElementById('target');
    if (menu && menu.contains(event.target)) {
        return;
    }
    if (!event.shiftKey) {
        ddSelect(null);
    }
    ddAction = { kind: 'band', startX: event.pageX, startY: event.pageY, moved: false };
}

function ddDrawBand(event) {
    var band = document.getElementById('dd-band');
    if (!band) {
        band = document.createElement('div');
        band.id = 'dd-band';
        document.body.appendChild(band);
    }
    var left = Math.min(ddAction.startX, event.pageX);
    var top = Math.min(ddAction.startY, event.pageY);
    band.style.left = left + 'px';
    band.style.top = top + 'px';
    band.style.width = Math.abs(event.pageX - ddAction.startX) + 'px';
    band.style.height = Math.abs(event.pageY - ddAction.startY) + 'px';
    band.style.display = 'block';
    // The frame selects items, not the page's text.
    window.getSelection().removeAllRanges();
    ddAction.band = { left: left, top: top, right: Math.max(ddAction.startX, event.pageX),
        bottom: Math.max(ddAction.startY, event.pageY) };
}

function ddEndBand() {
    var band = document.getElementById('dd-band');
    if (band) {
        band.style.display = 'none';
    }
    var area = ddAction.band;
    if (!area) {
        return;
    }
    dd.elements.forEach(function (record) {
        if (!record.draggable || ddSelection.indexOf(record) >= 0 ||
            ddSelection.some(function (r) { return r.mover === record.mover; })) {
            return;
        }
        var b = ddPageBox(record.element);
        if (b.x < area.right && b.x + b.w > area.left && b.y < area.bottom && b.y + b.h > area.top) {
            ddToggle(record);
        }
    });
}

function ddMove(event) {
    if (!ddAction) {
        var hovered = ddRecordOf(event.target);
        if (hovered) {
            ddShowHandle(hovered);
        }
        return;
    }
    var dx = event.pageX - ddAction.startX;
    var dy = event.pageY - ddAction.startY;
    if (Math.abs(dx) + Math.abs(dy) > 2) {
        ddAction.moved = true;
    }
    if (!ddAction.moved) {
        return;
    }
    if (ddAction.kind === 'band') {
        ddDrawBand(event);
        return;
    }
    var record = ddAction.record;
    // Alt held: no snapping to other items.
    var guided = !event.altKey;
    var guideX = null;
    var guideY = null;
    if (ddAction.kind === 'move') {
        var box = ddAction.box;
        var nearX = guided ? ddNearestLine([box.left + dx, (box.left + box.right) / 2 + dx,
            box.right + dx], ddAction.lines.x) : null;
        var nearY = guided ? ddNearestLine([box.top + dy, (box.top + box.bottom) / 2 + dy,
            box.bottom + dy], ddAction.lines.y) : null;
        // A guide wins; otherwise the grid, where it is on, places the grabbed item.
        var moveX = nearX ? dx + nearX.shift : ddSnap(ddAction.pageX + dx) - ddAction.pageX;
        var moveY = nearY ? dy + nearY.shift : ddSnap(ddAction.pageY + dy) - ddAction.pageY;
        guideX = nearX ? nearX.at : null;
        guideY = nearY ? nearY.at : null;
        ddAction.moving.forEach(function (r, i) {
            r.mover.style.left = Math.round(ddAction.starts[i].left + moveX) + 'px';
            r.mover.style.top = Math.round(ddAction.starts[i].top + moveY) + 'px';
        });
    } else {
        var width = Math.max(10, ddAction.width + dx);
        var height = Math.max(10, ddAction.height + dy);
        if (guided) {
            var edgeX = ddNearestLine([ddAction.corner.x + width], ddAction.lines.x);
            var edgeY = ddNearestLine([ddAction.corner.y + height], ddAction.lines.y);
            if (edgeX) {
                width += edgeX.shift;
                guideX = edgeX.at;
            }
            if (edgeY && !record.scalable) {
                height += edgeY.shift;
                guideY = edgeY.at;
            }
        }
        if (record.scalable && ddAction.width > 0) {
            height = Math.max(10, Math.round(width * ddAction.height / ddAction.width));
        }
        ddSetSize(record, Math.round(width), Math.round(height));
    }
    ddShowGuides(guideX, guideY);
    ddShowHandle(record);
}

function ddEnd() {
    if (!ddAction) {
        return;
    }
    var moved = ddAction.moved;
    var kind = ddAction.kind;
    if (moved) {
        dd.suppressClick = true;
        window.setTimeout(function () { dd.suppressClick = false; }, 0);
    }
    if (kind === 'band') {
        ddEndBand();
    }
    if (kind === 'resize') {
        document.body.style.minHeight = ddAction.heldHeight;
        document.body.style.minWidth = ddAction.heldWidth;
    }
    ddAction = null;
    if (ddGuides) {
        ddShowGuides(null, null);
    }
    if (moved && kind !== 'band') {
        ddTellMoved();
    }
}

// Each finished move is a step of the program's undo, and kept for recovery soon after: the
// page hands its layout over with the report.
function ddTellMoved() {
    if (typeof hostNavigate === 'function') {
        ddCommand('http://itemmoved');
    }
}

// The items the keyboard and the commands work on, outlined; Escape lets them go.
var ddSelection = [];

function ddMark(record, on) {
    record.mover.classList.toggle('dd-selected', on);
}

// Selects the item alone; null selects nothing.
function ddSelect(record) {
    ddSelection.forEach(function (r) { ddMark(r, false); });
    ddSelection = record ? [record] : [];
    if (record) {
        ddMark(record, true);
    }
}

function ddToggle(record) {
    var at = ddSelection.indexOf(record);
    if (at >= 0) {
        ddSelection.splice(at, 1);
        ddMark(record, false);
    } else {
        ddSelection.push(record);
        ddMark(record, true);
    }
}

// Every item of the page, each once (a picture is registered by its name and its div).
function ddSelectAll() {
    ddSelect(null);
    var movers = [];
    dd.elements.forEach(function (record) {
        if (record.draggable && movers.indexOf(record.mover) < 0) {
            movers.push(record.mover);
            ddToggle(record);
        }
    });
}

// The item's name as the program's commands take it: a text id or a picture name.
function ddItemName(record) {
    return record.element.tagName === 'IMG' ? record.element.name :
        record.name.replace(/^dpageimageitem/, 'pageimageitem');
}

function ddSelectionNames() {
    var names = '';
    ddSelection.forEach(function (record) {
        if (names.indexOf(ddItemName(record)) < 0) {
            names += ddItemName(record);
        }
    });
    return names;
}

// Selects the named items ("pagetextitem1~pageimageitem7~"), as the program asks after a paste.
function ddSelectNames(names) {
    ddSelect(null);
    dd.elements.forEach(function (record) {
        if (record.draggable && names.indexOf(ddItemName(record)) >= 0 &&
            !ddSelection.some(function (r) { return r.mover === record.mover; })) {
            ddToggle(record);
        }
    });
}

// What an item's options add to the click command: the other items selected with it.
function ddSelectionSuffix(name) {
    return ddSelection.length > 1 && ddSelectionNames().indexOf(name) >= 0 ?
        '|' + ddSelectionNames() : '';
}

// Lines up the selected items by an edge or centre ('left', 'centre', 'right', 'top',
// 'middle', 'bottom'), or spaces three or more evenly ('horizontal', 'vertical'). With the
// grid on, the line they meet on, or each place when spaced, lies on the grid. One step.
function ddAlign(how) {
    var items = [];
    ddSelection.forEach(function (record) {
        if (record.draggable && !items.some(function (i) { return i.record.mover === record.mover; })) {
            items.push({ record: record, x: record.x, y: record.y, w: record.w, h: record.h });
        }
    });
    if (items.length < 2) {
        return;
    }
    var horizontal = ['left', 'centre', 'right', 'horizontal'].indexOf(how) >= 0;
    var pos = horizontal ? 'x' : 'y';
    var size = horizontal ? 'w' : 'h';
    var low = Math.min.apply(null, items.map(function (i) { return i[pos]; }));
    var high = Math.max.apply(null, items.map(function (i) { return i[pos] + i[size]; }));
    if (how === 'horizontal' || how === 'vertical') {
        if (items.length < 3) {
            return;
        }
        items.sort(function (a, b) { return a[pos] - b[pos]; });
        var taken = items.reduce(function (sum, i) { return sum + i[size]; }, 0);
        var gap = (high - low - taken) / (items.length - 1);
        var next = low;
        items.forEach(function (item, index) {
            var place = index === 0 || index === items.length - 1 ? item[pos] : ddSnap(Math.round(next));
            ddShift(item, pos, place - item[pos]);
            next = place + item[size] + gap;
        });
    } else {
        var line = { left: low, top: low, right: high, bottom: high,
            centre: (low + high) / 2, middle: (low + high) / 2 }[how];
        line = ddSnap(line);
        items.forEach(function (item) {
            var place = how === 'left' || how === 'top' ? line :
                how === 'right' || how === 'bottom' ? line - item[size] :
                Math.round(line - item[size] / 2);
            ddShift(item, pos, place - item[pos]);
        });
    }
    ddTellMoved();
}

function ddShift(item, pos, by) {
    var mover = item.record.mover;
    if (pos === 'x') {
        mover.style.left = ((parseInt(mover.style.left, 10) || mover.offsetLeft) + by) + 'px';
    } else {
        mover.style.top = ((parseInt(mover.style.top, 10) || mover.offsetTop) + by) + 'px';
    }
}

function ddAlignNames(how, names) {
    ddSelectNames(names);
    ddAlign(how);
}

// The item commands of the program on the selection: 'duplicate', 'copy', 'cut', 'paste',
// 'section' (kept in the library; without a selection the program says what to do).
function ddItemCommand(kind) {
    var addresses = { duplicate: 'http://duplicate', copy: 'http://copyitems',
        cut: 'http://cutitems' };
    if (kind === 'paste') {
        ddCommand('http://pasteitems');
        return;
    }
    if (kind === 'section') {
        ddCommand('http://savesection' + (ddSelectionNames() || ''));
        return;
    }
    var names = ddSelectionNames();
    if (names && addresses[kind]) {
        ddCommand(addresses[kind] + names);
    }
}

// Hands the layout over, then the command: as the page's own commands do.
function ddCommand(address) {
    if (typeof loadStylesData === 'function') {
        loadStylesData();
    }
    hostNavigate(address);
}

// A command of the controls bar, run as its button runs it.
function ddBarCommand(address) {
    var bar = parent && parent.frames ? parent.frames['controls'] : null;
    if (bar && bar.runCommand) {
        bar.runCommand(address);
    }
}

// The window's own keys, for when the page has the keyboard and they do not reach the window,
// and the keys of the item commands.
function ddWindowKey(event) {
    var lower = event.key.toLowerCase();
    var commands = event.ctrlKey && !event.altKey ? {
        z: event.shiftKey ? function () { ddCommand('http://redo'); } :
            function () { ddCommand('http://undo'); },
        y: function () { ddCommand('http://redo'); },
        s: event.shiftKey ? function () { ddBarCommand('http://save_as_page'); } :
            function () { ddBarCommand('http://savepage'); },
        n: function () { hostNavigate('http://keynewpage'); },
        a: ddSelectAll,
        d: function () { ddItemCommand('duplicate'); },
        c: function () { ddItemCommand('copy'); },
        x: function () { ddItemCommand('cut'); },
        v: function () { ddItemCommand('paste'); }
    } : {};
    if (event.key === 'F1' && !event.ctrlKey && !event.altKey) {
        commands.f1 = function () { hostNavigate('http://keyhelp'); };
    }
    if (!commands[lower]) {
        return false;
    }
    event.preventDefault();
    commands[lower]();
    return true;
}

// Escape, Delete and the arrows act on every selected item; an arrow move is one step.
function ddKey(event) {
    var key = event.key;
    if (ddWindowKey(event) || event.ctrlKey) {
        return;
    }
    if (!ddSelection.length) {
        return;
    }
    if (key === 'Escape') {
        ddSelect(null);
        return;
    }
    if (key === 'Delete') {
        event.preventDefault();
        var names = ddSelectionNames();
        ddSelect(null);
        ddCommand('http://keydelete' + names);
        return;
    }
    var steps = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
    var moving = ddSelection.filter(function (r) { return r.draggable; });
    if (!steps[key] || !moving.length) {
        return;
    }
    event.preventDefault();
    var step = event.shiftKey ? (ddGridSpacing() || 10) : 1;
    var moved = [];
    moving.forEach(function (record) {
        var mover = record.mover;
        if (moved.indexOf(mover) >= 0) {
            return;
        }
        moved.push(mover);
        mover.style.left = ((parseInt(mover.style.left, 10) || mover.offsetLeft) + steps[key][0] * step) + 'px';
        mover.style.top = ((parseInt(mover.style.top, 10) || mover.offsetTop) + steps[key][1] * step) + 'px';
    });
    ddTellMoved();
}

document.addEventListener('mousedown', ddStartMove, false);
document.addEventListener('mousemove', ddMove, false);
document.addEventListener('mouseup', ddEnd, false);
document.addEventListener('keydown', ddKey, false);

// Whether anything the layout report reads may have changed since it was last asked: the
// page's markup or styles, the window's size or scroll, a picture or a font loaded. Measuring
// thousands of items costs more than a frame, and most commands come with nothing moved since
// the last.
var ddLayoutWatch = { observer: null, changed: true };

function ddLayoutChanged() {
    var watch = ddLayoutWatch;
    if (!watch.observer) {
        var changed = function () {
            watch.changed = true;
            watch.observer.disconnect();
        };
        watch.observer = new MutationObserver(function (records) {
            if (records.some(ddMovesLayout)) {
                changed();
            }
        });
        window.addEventListener('resize', changed);
        window.addEventListener('scroll', changed);
        document.addEventListener('load', function (event) {
            if (!ddIsFurniture(event.target)) {
                changed();
            }
        }, true);
        if (document.fonts) {
            document.fonts.addEventListener('loadingdone', changed);
        }
    }
    var answer = watch.changed || watch.observer.takeRecords().some(ddMovesLayout);
    watch.changed = false;
    // Once a change is seen the page is not watched until the next question: a drag or an
    // update would otherwise queue a record for each of its steps.
    watch.observer.observe(document.documentElement,
        { attributes: true, childList: true, subtree: true, characterData: true });
    return answer;
}

// Whether a change of the page can move or resize what the layout report reads: the add menu,
// the handle, the guides, the frame and the selection's outline cannot.
function ddMovesLayout(record) {
    if (record.type === 'attributes' && record.attributeName === 'class') {
        return false;
    }
    if (record.type !== 'childList') {
        return !ddIsFurniture(record.target);
    }
    var isItem = function (node) { return !ddIsFurniture(node); };
    return Array.prototype.some.call(record.addedNodes, isItem) ||
        Array.prototype.some.call(record.removedNodes, isItem);
}

function ddIsFurniture(node) {
    for (; node && node.nodeType === 1; node = node.parentNode) {
        if (node.id === 'target' || node.id.indexOf('dd-') === 0 ||
            node.classList.contains('dd-guide')) {
            return true;
        }
    }
    return false;
}

// The page's own layout report (loadStylesData, in its head) reads every picture against every
// registered element and measures each element four times; on a page of thousands of items
// that takes most of a second. This gives the same report, character for character, reading
// each element once. The head's report is kept where its container width is not a plain
// number.
function ddInstallLayoutReport() {
    if (typeof loadStylesData !== 'function' || loadStylesData.ddFast) {
        return;
    }
    var width = /clientWidth - ([0-9]+)\)\/2\)/.exec(String(loadStylesData));
    if (!width) {
        return;
    }
    var containerWidth = Number(width[1]);
    var measure = function () {
        var originX = 0;
        var originY = 0;
        var output = [];
        var divs = document.getElementsByTagName('div');
        for (var i = 0; i < divs.length; i++) {
            var id = divs[i].id;
            if (id === 'pagecontainer') {
                originX = Math.floor((document.body.clientWidth - containerWidth) / 2);
                if (originX < 0) {
                    originX = 5;
                }
                originY = 30;
            }
            if (id.indexOf('pageimageitem') === -1 && divs[i].style.visibility === 'visible' &&
                id !== 'pagecontainer' && id !== 'target') {
                output.push("<div id='" + id + "' style='" + divs[i].style.cssText + "'>|");
            }
        }
        var byName = new Map();
        dd.elements.forEach(function (record) {
            var name = String(record.name);
            if (!byName.has(name)) {
                byName.set(name, []);
            }
            byName.get(name).push(record);
        });
        var shift = ddScriptShift();
        var images = document.images;
        for (var j = 0; j < images.length; j++) {
            var name = images[j].name;
            var records = name !== 'addtarget' ? byName.get(String(name)) : null;
            (records || []).forEach(function (record) {
                var box = ddPageBox(record.element);
                output.push("<div id='d" + name + "' style='position:absolute;top:" +
                    (Math.round(box.y + shift.y) - originY) + 'px;left:' +
                    (Math.round(box.x + shift.x) - originX) +
                    'px;background:transparent;Z-INDEX:' + record.z + "'>^" + box.w + '^' +
                    box.h + '|');
            });
        }
        var text = output.join('');
        return text.substring(0, text.length - 1);
    };
    var reported = null;
    var fresh = function () {
        var changed = ddLayoutChanged();
        if (reported === null || changed) {
            reported = measure();
        }
        return reported;
    };
    var report = function () {
        hostNavigate('http://clipboardcache');
        var text = fresh();
        if (window.clipboardData && clipboardData.setData) {
            clipboardData.setData('Text', text);
        } else {
            alert('Internet Explorer required');
        }
    };
    report.ddFast = true;
    report.ddMeasure = fresh;
    loadStylesData = report;
}
ddInstallLayoutReport();
ddMeasureWhenIdle();

// The page shown anew is measured for the layout report once the browser is idle, so that the
// next command finds the report ready.
function ddMeasureWhenIdle() {
    if (typeof window.requestIdleCallback !== 'function') {
        return;
    }
    window.requestIdleCallback(function () {
        if (typeof loadStylesData === 'function' && loadStylesData.ddMeasure) {
            loadStylesData.ddMeasure();
        }
    }, { timeout: 1000 });
}

// The program brings the page up to date in place instead of loading it again: the changed
// items are swapped, the container's and the body's attributes and the head's script take
// their new values, and the items are registered anew, leaving the page a load of the new file
// would give. u names the version it was made from (a page just loaded is the file's latest)
// and the one it makes; false when the page is not what it was made from, and the program then
// loads the page whole.
function ddUpdate(u) {
    if (dd.version !== undefined && dd.version !== u.base) {
        return false;
    }
    document.dispatchEvent(new Event('dd-update'));
    var container = document.getElementById('pagecontainer');
    if (u.hasContainer !== !!container) {
        return false;
    }
    var parent = container || document.body;
    var start = container ? container.firstChild : ddMenuNext();
    while (start && start.nodeName === 'STYLE') {
        start = start.nextSibling;
    }
    var items = [];
    for (var node = start; items.length < u.total; node = node.nextSibling) {
        if (!ddIsItem(node)) {
            return false;
        }
        items.push(node);
    }
    var end = items.length ? items[items.length - 1].nextSibling : start;
    if (ddIsItem(end) || (container && end)) {
        return false;
    }
    var fresh = ddParsed(u.items);
    var added = u.edits.reduce(function (sum, edit) { return sum + edit[2]; }, 0);
    if (fresh.childNodes.length !== added ||
        !Array.prototype.every.call(fresh.childNodes, ddIsItem)) {
        return false;
    }
    if (!ddEachIdOnce(items, u.edits, fresh.childNodes)) {
        return false;
    }
    var relinks = ddRelinks(items, u.links || []);
    if (!relinks) {
        return false;
    }
    var freshContainer = u.container !== null &&
        ddParsed(u.container).querySelector('#pagecontainer');
    if (u.container !== null && (!freshContainer ||
        freshContainer.parentNode.nodeName !== container.parentNode.nodeName)) {
        return false;
    }
    ddClearFurniture();
    if (u.script !== null) {
        var script = document.head.querySelector('script:not([src])');
        if (script) {
            script.text = u.script;
        }
        (0, eval)(u.script);
        ddInstallLayoutReport();
    }
    if (u.body !== null) {
        ddTakeAttributes(document.body,
            new DOMParser().parseFromString(u.body, 'text/html').body);
    }
    if (freshContainer) {
        ddTakeAttributes(container, freshContainer);
    }
    relinks.forEach(function (relink) { relink(); });
    // Every edit stands before an item that stays, or at the end: the items are found by the
    // nodes they were, whatever the edits before them did.
    var freshItems = Array.prototype.slice.call(fresh.childNodes);
    var taken = 0;
    u.edits.forEach(function (edit) {
        var following = edit[0] + edit[1] < items.length ? items[edit[0] + edit[1]] : end;
        items.slice(edit[0], edit[0] + edit[1]).forEach(function (item) { item.remove(); });
        freshItems.slice(taken, taken + edit[2]).forEach(function (item) {
            parent.insertBefore(item, following);
        });
        taken += edit[2];
    });
    ddReplaceTail(container ? container.parentNode.nextSibling : end, u.tail);
    ddRegisterAgain(u.drag);
    dd.version = u.version;
    ddUpdateControls(u.controls);
    if (document.body.hasAttribute('onload') && typeof window.onload === 'function') {
        window.onload(new Event('load'));
    }
    if (u.run) {
        (0, eval)(u.run);
    }
    ddMeasureWhenIdle();
    return true;
}

// How each item that only gains or loses its link changes: its content goes into the anchor,
// or out of the one it has. Null when an item is not as the program wrote it.
function ddRelinks(items, links) {
    var changes = [];
    var sound = links.every(function (link) {
        var item = items[link[0]];
        if (!item) {
            return false;
        }
        if (link[1] === null) {
            var anchor = item.firstChild;
            if (item.childNodes.length !== 1 || anchor.nodeName !== 'A') {
                return false;
            }
            changes.push(function () {
                while (anchor.firstChild) {
                    item.insertBefore(anchor.firstChild, anchor);
                }
                anchor.remove();
            });
            return true;
        }
        var parsed = ddParsed(link[1] + '</A>');
        var wrapper = parsed.firstChild;
        if (parsed.childNodes.length !== 1 || wrapper.nodeName !== 'A' || wrapper.firstChild) {
            return false;
        }
        changes.push(function () {
            while (item.firstChild) {
                wrapper.appendChild(item.firstChild);
            }
            item.appendChild(wrapper);
        });
        return true;
    });
    return sound ? changes : null;
}

// Whether the items that stay and the items that come carry each id once: a page that would
// show one id twice is loaded whole instead.
function ddEachIdOnce(items, edits, fresh) {
    var leaving = new Set();
    edits.forEach(function (edit) {
        items.slice(edit[0], edit[0] + edit[1]).forEach(function (item) { leaving.add(item); });
    });
    var ids = new Set();
    var staying = items.filter(function (item) { return !leaving.has(item); });
    return staying.concat(Array.prototype.slice.call(fresh)).every(function (item) {
        if (!item.id) {
            return true;
        }
        var unseen = !ids.has(item.id);
        ids.add(item.id);
        return unseen;
    });
}

// The controls page beside takes its new script and shows it as its load does; one still
// loading reads the new files itself.
function ddUpdateControls(script) {
    var controls = window.parent.frames['controls'];
    if (script === null || !controls || controls.document.readyState !== 'complete' ||
        typeof controls.onload !== 'function') {
        return;
    }
    (0, controls.eval)(script);
    controls.onload(new Event('load'));
}

// The node after the add menu where the page wrote it: the body's items start there.
function ddMenuNext() {
    var menu = document.getElementById('target');
    return menu && menu.parentNode === document.body ? menu.nextSibling : null;
}

function ddIsItem(node) {
    return !!node && node.nodeName === 'DIV' && node.id.indexOf('dd-') !== 0;
}

// The markup as nodes of this page, parsed as the page's own: a page without a doctype reads
// "top:120" as pixels, which a template's inert document would not. Scripts so parsed never
// run.
function ddParsed(markup) {
    var holder = document.createElement('div');
    holder.innerHTML = markup;
    var nodes = document.createDocumentFragment();
    while (holder.firstChild) {
        nodes.appendChild(holder.firstChild);
    }
    return nodes;
}

// The element's attributes become the other's, in its order.
function ddTakeAttributes(element, from) {
    while (element.attributes.length) {
        element.removeAttributeNode(element.attributes[0]);
    }
    Array.prototype.forEach.call(from.attributes, function (attribute) {
        element.setAttributeNode(attribute.cloneNode(true));
    });
}

// The selection, the handle, the guides and the frame: nothing of them is left on a new page.
function ddClearFurniture() {
    ddSelect(null);
    ddAction = null;
    [ddHandle, document.getElementById('dd-band')].concat(ddGuides || []).forEach(
        function (element) {
            if (element) {
                element.remove();
            }
        });
    ddHandle = null;
    ddHandleOwner = null;
    ddGuides = null;
}

// The scripts after the items: the registration and the program's request on load.
function ddReplaceTail(from, markup) {
    while (from && from.nodeName === 'SCRIPT') {
        var next = from.nextSibling;
        from.remove();
        from = next;
    }
    document.body.insertBefore(ddParsed(markup), from);
}

// Elements registered before keep their mark when registered again (marking them anew would
// make the browser restyle every item); the others lose it.
function ddRegisterAgain(registration) {
    var before = dd.elements;
    dd.elements = [];
    dd.maxZ = 1;
    dd.resizable = false;
    dd.handCursor = false;
    if (registration) {
        (0, eval)(registration);
    }
    var marked = new Set();
    dd.elements.forEach(function (record) {
        if (record.draggable) {
            marked.add(record.element);
        }
    });
    var unused = dd.handCursor ? 'dd-move' : 'dd-hand';
    before.forEach(function (record) {
        var element = record.element;
        element.classList.remove(unused);
        if (!marked.has(element)) {
            element.classList.remove('dd-hand', 'dd-move');
        }
        if (!element.classList.length) {
            element.removeAttribute('class');
        }
    });
}
