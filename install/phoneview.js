// The phone view of the main window: the page as a phone 375 pixels wide shows it, in a frame,
// with a bar of choices. A drag moves an item up or down the column; a click chooses it for
// the bar. Every choice goes to the program, which keeps it, makes it an undo step and writes
// the view again.
(function () {
    'use strict';
    var selected = window.phoneSelected || '';
    var dragThreshold = 4;
    var edgeScroll = 40;

    function itemOf(id) {
        for (var i = 0; i < phoneItems.length; i++) {
            if (phoneItems[i].id === id) {
                return phoneItems[i];
            }
        }
        return null;
    }

    function placeOf(id) {
        for (var i = 0; i < phoneItems.length; i++) {
            if (phoneItems[i].id === id) {
                return i;
            }
        }
        return -1;
    }

    function frameDocument() {
        return document.getElementById('phoneframe').contentDocument;
    }

    function send(address) {
        window.hostNavigate(address);
    }

    function choose(name, value) {
        if (selected) {
            send('http://phonechoice?' + selected + name + '~' + value);
        }
    }

    function moveTo(id, place) {
        if (place >= 0 && place < phoneItems.length && place !== placeOf(id)) {
            send('http://phonemove?' + id + place);
        }
    }

    // The item of the column a node belongs to.
    function columnItem(node) {
        for (; node && node.nodeType === 1; node = node.parentNode) {
            if (node.id && itemOf(node.id)) {
                return node;
            }
        }
        return null;
    }

    function pressed(button, on) {
        button.setAttribute('aria-pressed', on ? 'true' : 'false');
    }

    function showBar() {
        document.getElementById('spacing').textContent = phoneSpacing + ' px';
        var item = itemOf(selected);
        var name = document.getElementById('itemname');
        var choices = document.getElementById('itemchoices');
        choices.className = 'group ' + (item ? (item.picture ? 'picture' : 'text') : 'none');
        name.textContent = item ? (item.picture ? 'Picture' : 'Text section') +
            (item.shared ? ' (on every page of the site):' : ':') :
            'Click an item to shape it for phones, or drag it up or down.';
        if (!item) {
            return;
        }
        var place = placeOf(selected);
        document.getElementById('moveup').disabled = place <= 0;
        document.getElementById('movedown').disabled = place >= phoneItems.length - 1;
        document.getElementById('hide').textContent = item.hidden ? 'Show on phones' : 'Hide on phones';
        pressed(document.getElementById('fullwidth'), item.width === 'FULL');
        pressed(document.getElementById('designedwidth'), item.width !== 'FULL');
        pressed(document.getElementById('smaller'), item.size === '-1');
        pressed(document.getElementById('designedsize'), item.size !== '-1' && item.size !== '1');
        pressed(document.getElementById('larger'), item.size === '1');
    }

    function select(id) {
        var doc = frameDocument();
        var old = selected && doc.getElementById(selected);
        if (old) {
            old.classList.remove('phoneselected');
        }
        selected = itemOf(id) ? id : '';
        var now = selected && doc.getElementById(selected);
        if (now) {
            now.classList.add('phoneselected');
        }
        showBar();
    }

    // The place in the column a drop at this height of the frame's page takes: one for every
    // other item whose middle lies above it.
    function dropPlace(id, y) {
        var doc = frameDocument();
        var place = 0;
        for (var i = 0; i < phoneItems.length; i++) {
            var other = doc.getElementById(phoneItems[i].id);
            if (phoneItems[i].id === id || !other) {
                continue;
            }
            var box = other.getBoundingClientRect();
            if (box.top + box.height / 2 < y) {
                place++;
            }
        }
        return place;
    }

    // A line where the dragged item would land.
    function showLanding(doc, id, place) {
        var line = doc.getElementById('phonelanding');
        if (!line) {
            line = doc.createElement('div');
            line.id = 'phonelanding';
            line.style.cssText = 'position:absolute;left:0;right:0;height:3px;z-index:2147483647;' +
                'background:#f5a623;pointer-events:none';
            // Beside the body: a full-screen page's body is the column itself.
            doc.documentElement.appendChild(line);
        }
        var others = phoneItems.filter(function (item) {
            return item.id !== id && doc.getElementById(item.id);
        }).map(function (item) { return doc.getElementById(item.id).getBoundingClientRect(); });
        var y = 0;
        if (others.length) {
            y = place < others.length ? others[place].top - 2 : others[others.length - 1].bottom + 1;
        }
        line.style.top = (y + doc.defaultView.scrollY) + 'px';
    }

    function hideLanding(doc) {
        var line = doc.getElementById('phonelanding');
        if (line) {
            line.parentNode.removeChild(line);
        }
    }

    // What follows the pointer: a box of the item's size beside the body (a full-screen page's
    // body is the column itself), above everything the page draws.
    function ghostOf(doc, item) {
        var box = item.getBoundingClientRect();
        var ghost = doc.createElement('div');
        ghost.style.cssText = 'position:absolute;z-index:2147483647;pointer-events:none;' +
            'box-sizing:border-box;border:3px dashed #f5a623;background:rgba(245,166,35,.3);' +
            'left:' + (box.left + doc.defaultView.scrollX) + 'px;top:' +
            (box.top + doc.defaultView.scrollY) + 'px;width:' + box.width + 'px;height:' +
            box.height + 'px';
        doc.documentElement.appendChild(ghost);
        return ghost;
    }

    // The drag under way: the item, where the pointer pressed it (in the frame's page), and
    // once it moved, the box that follows the pointer.
    var drag = null;

    function frameTop() {
        return document.getElementById('phoneframe').getBoundingClientRect().top;
    }

    // The pointer at this height of the frame's page.
    function dragTo(y) {
        var by = y - drag.startY;
        if (!drag.moving && Math.abs(by) < dragThreshold) {
            return;
        }
        var doc = frameDocument();
        if (!drag.moving) {
            drag.moving = true;
            drag.ghost = ghostOf(doc, drag.item);
            drag.item.classList.add('phonedragged');
        }
        drag.y = y;
        drag.ghost.style.transform = 'translateY(' + by + 'px)';
        // Near the window's edges (below the bar) the view scrolls on, to reach every place.
        var inWindow = frameTop() + y;
        var top = document.getElementById('phonebar').getBoundingClientRect().bottom;
        if (inWindow < top + edgeScroll) {
            window.scrollBy(0, -edgeScroll / 2);
        } else if (inWindow > window.innerHeight - edgeScroll) {
            window.scrollBy(0, edgeScroll / 2);
        }
        showLanding(doc, drag.item.id, dropPlace(drag.item.id, y));
    }

    // The button let go: a drag lands, a click chooses the item.
    function dragEnd() {
        var done = drag;
        drag = null;
        if (!done.moving) {
            select(done.item.id);
            return;
        }
        var doc = frameDocument();
        done.ghost.parentNode.removeChild(done.ghost);
        done.item.classList.remove('phonedragged');
        hideLanding(doc);
        moveTo(done.item.id, dropPlace(done.item.id, done.y));
    }

    function followPointer(doc) {
        doc.addEventListener('mousedown', function (event) {
            var item = columnItem(event.target);
            if (event.button !== 0 || !item) {
                return;
            }
            event.preventDefault();
            drag = { item: item, startY: event.clientY, y: event.clientY, moving: false };
        }, true);
        doc.addEventListener('mousemove', function (event) {
            if (drag) {
                dragTo(event.clientY);
            }
        }, true);
        doc.addEventListener('mouseup', function (event) {
            if (drag) {
                drag.y = event.clientY;
                dragEnd();
            }
        }, true);
        // The page's links lead nowhere here: a click shapes the item.
        doc.addEventListener('click', function (event) {
            event.preventDefault();
        }, true);
        doc.addEventListener('keydown', windowKey, true);
    }

    // The window's keys while the view has the keyboard.
    function windowKey(event) {
        if (!event.ctrlKey || event.altKey) {
            return;
        }
        var lower = event.key.toLowerCase();
        var commands = {
            z: event.shiftKey ? 'http://redo' : 'http://undo',
            y: 'http://redo',
            s: event.shiftKey ? 'http://save_as_page' : 'http://savepage'
        };
        if (commands[lower]) {
            event.preventDefault();
            send(commands[lower]);
        }
    }

    function frameLoaded() {
        var frame = document.getElementById('phoneframe');
        var doc = frame.contentDocument;
        var mark = doc.createElement('style');
        mark.textContent = '.phoneselected{outline:3px solid #f5a623!important;outline-offset:-3px}' +
            '.phonedragged{opacity:.4}';
        doc.head.appendChild(mark);
        // As tall as the column: the view scrolls, not the phone.
        frame.style.height = doc.documentElement.scrollHeight + 'px';
        followPointer(doc);
        select(selected);
        var kept = Number(window.sessionStorage && sessionStorage.getItem('phoneScroll'));
        if (kept) {
            window.scrollTo(0, kept);
        }
        document.body.setAttribute('data-ready', 'true');
    }

    window.addEventListener('DOMContentLoaded', function () {
        var buttons = {
            spaceless: function () { send('http://phonespacing?' + Math.max(0, phoneSpacing - 4)); },
            spacemore: function () { send('http://phonespacing?' + Math.min(200, phoneSpacing + 4)); },
            moveup: function () { moveTo(selected, placeOf(selected) - 1); },
            movedown: function () { moveTo(selected, placeOf(selected) + 1); },
            hide: function () { choose('HIDDEN', itemOf(selected).hidden ? '' : '1'); },
            fullwidth: function () { choose('WIDTH', 'FULL'); },
            designedwidth: function () { choose('WIDTH', 'DESIGNED'); },
            smaller: function () { choose('TEXTSIZE', '-1'); },
            designedsize: function () { choose('TEXTSIZE', '0'); },
            larger: function () { choose('TEXTSIZE', '1'); }
        };
        Object.keys(buttons).forEach(function (id) {
            document.getElementById(id).addEventListener('click', buttons[id]);
        });
        document.addEventListener('keydown', windowKey, true);
        // A drag that leaves the phone (over the bar, beside it) goes on and ends there.
        document.addEventListener('mousemove', function (event) {
            if (drag) {
                dragTo(event.clientY - frameTop());
            }
        });
        document.addEventListener('mouseup', function () {
            if (drag) {
                dragEnd();
            }
        });
        window.addEventListener('scroll', function () {
            if (window.sessionStorage) {
                sessionStorage.setItem('phoneScroll', String(window.scrollY));
            }
        });
        showBar();
        var frame = document.getElementById('phoneframe');
        frame.addEventListener('load', frameLoaded);
        var doc = frame.contentDocument;
        if (doc && doc.readyState === 'complete' && doc.URL.indexOf('phoneitems.html') >= 0) {
            frameLoaded();
        }
    });
}());
